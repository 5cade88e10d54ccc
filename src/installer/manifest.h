// The manifest of an installation: the hidden file "installation info.xml" in
// the installation directory lists every file and shortcut the installation
// placed, itself included.  The next installation into the same folder reads
// it to find the files the new package no longer holds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace setup {

inline constexpr std::wstring_view kManifestFileName = L"installation info.xml";

// The manifest's path in an installation directory.
std::wstring manifestPath(std::wstring_view installationDirectory);

// Appends to the list every path of the old manifest that still names a file
// (not a folder).  Never throws: a missing or damaged manifest only means that
// no old files are removed; entries appended before a failure stay.
void ReadPreviousManifest(std::wstring_view installationDirectory, std::vector<std::wstring>& previousFiles) noexcept;

// Writes the manifest of the placed files, followed by the manifest's own
// path, as a hidden and archive file that replaces any earlier one.  It is
// written whole under a temporary name and then renamed into place, so the
// file there is always a whole manifest, the earlier one when writing
// failed.  Never throws: a manifest that cannot be written only means that
// the next installation removes nothing.
void WriteManifest(std::wstring_view installationDirectory, const std::vector<std::wstring>& placedFiles) noexcept;

}  // namespace setup
