// Names of bundle files are 8-bit text in the system's ANSI code page: the
// bundle stores them in UTF-16, markup and callers give them as they are
// written.  The host tree has no code page; there the names are ASCII and
// other characters become '?'.
#pragma once

#include <string>
#include <string_view>

// A record's UTF-16 name as the index keeps it.
std::string bundleFileName(std::u16string_view name);
// A name taken from markup (UTF-16 code units in wchar_t).
std::string resourceName(std::wstring_view name);
// An 8-bit name for a message.
std::wstring displayedName(std::string_view name);
