// Whether an archive entry's name may be placed inside the installation
// folder.
//
// Entry names come from the package and are untrusted: the reader hands them
// on as stored, and whoever writes files from them asks here first.  A safe
// name is relative, names a file (not a folder), and cannot leave the folder
// it is joined to, whichever of "/" and "\" it uses.
#pragma once

#include <cstddef>
#include <string_view>

namespace zip {

// The system's path limit for programs without long-path support: a file's
// path has fewer than 260 characters (MAX_PATH counts the terminator), a
// folder's fewer than 248 (MAX_PATH less room for an 8.3 name).
inline constexpr std::size_t kMaxFilePathChars = 259;
inline constexpr std::size_t kMaxFolderPathChars = 247;

// False for: the empty name; a name starting with a separator (absolute,
// UNC-like); any ':' (drive letters, alternate streams); an empty component
// (doubled or trailing separator); a component made only of dots and blanks
// ("..", "...", ". ", which the system folds onto a parent); a character the
// system refuses in file names (control characters, < > " | ? *); a
// component that names a device (CON, NUL, COM1.txt, and COM or LPT followed
// by a superscript digit, bytes B9, B2 and B3 of code page 1252).
bool isSafeEntryName(std::string_view name);
// The same rules for the name after its conversion to UTF-16.
bool isSafeEntryName(std::wstring_view name);

// Whether a safe name, installed below `directory` (joined with one "\"),
// stays within the path limit, and so do the folders it needs on the way.
bool fitsPathLimit(std::wstring_view directory, std::wstring_view name);

}  // namespace zip
