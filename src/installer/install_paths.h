// The names an installation run makes up: temporary file names and the
// folders it must create on the way to the installation directory.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/random.h"

namespace setup {

// 32 lower-case hexadecimal digits of the value in the groups 8-4-4-4-12,
// joined by "-", then ".tmp": 40 characters.
std::wstring temporaryFileName(const CRandomValue& value);

// The folders to create, outermost first, for the directory to exist: the
// text before every "\" or "/" that does not follow a ":" (after dropping one
// trailing separator), then the whole path.  "C:\A\B" gives "C:\A", "C:\A\B".
std::vector<std::wstring> folderChain(std::wstring_view directory);

// The folder part of a relative name ("bin\tool.dll" gives "bin"); empty
// for a name without a folder.
std::wstring relativeFolderOf(std::wstring_view relativeName);

}  // namespace setup
