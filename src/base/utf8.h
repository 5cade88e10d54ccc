// UTF-16 to UTF-8, for the files the program writes and the form posts it
// sends.
//
// Texts are UTF-16 in memory.  In the host tree wchar_t is 32 bits wide, but it
// only ever holds UTF-16 code units here, so both trees compute the same.
#pragma once

#include <string>
#include <string_view>

// UTF-16 to UTF-8, as the platform converts (an unpaired surrogate becomes
// U+FFFD).  Empty input gives an empty result.
std::string toUtf8(std::wstring_view text);
