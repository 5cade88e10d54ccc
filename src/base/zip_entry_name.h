// Whether an archive entry's name may be placed inside the installation
// folder.
//
// Entry names come from the package and are untrusted: the reader hands them
// on as stored, and whoever writes files from them asks here first.  A safe
// name is relative, names a file (not a folder), and cannot leave the folder
// it is joined to, whichever of "/" and "\" it uses.
#pragma once

#include <string_view>

namespace zip {

// False for: the empty name; a name starting with a separator (absolute,
// UNC-like); any ':' (drive letters, alternate streams); an empty component
// (doubled or trailing separator); a component made only of dots and blanks
// ("..", "...", ". ", which the system folds onto a parent); a character the
// system refuses in file names (control characters, < > " | ? *); a
// component that names a device (CON, NUL, COM1.txt...).
bool isSafeEntryName(std::string_view name);
// The same rules for the name after its conversion to UTF-16.
bool isSafeEntryName(std::wstring_view name);

}  // namespace zip
