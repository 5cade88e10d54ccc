// Which package entries this system installs, and under which names.
//
// A package may carry a file twice, once for 32-bit and once for 64-bit
// Windows, marked by " x86." or " x64." before the extension ("tool x64.dll").
// The system installs its own variant without the marker, so both variants
// arrive under the same name ("tool.dll").
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace setup {

// The name under which the entry is installed (relative, "\" between its
// folders), or nothing when the entry belongs to the other kind of system.
// A marker at the very start of the name is no marker.
std::optional<std::wstring> selectEntryName(std::wstring_view entryName, bool is64BitSystem);

// Whether an installed name is the product's program when the task names
// none: an ".exe" after the first character, and the display name anywhere
// (letter case ignored in both).
bool isMainProgramCandidate(std::wstring_view selectedName, std::wstring_view displayName);

// ASCII letters in lower case, everything else unchanged.

}  // namespace setup
