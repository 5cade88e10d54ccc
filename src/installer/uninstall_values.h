// The texts of the uninstall section that follow from the task alone.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/guid.h"
#include "base/path_join.h"

namespace setup {

using CNamedValue = std::pair<std::wstring, std::wstring>;

// The name=value lines of the publisher line, split at every carriage return
// and line feed, each line and both of its sides trimmed of blanks and tabs.
// A line without "=" after its first character, or with an empty name or
// value, gives nothing.
std::vector<CNamedValue> publisherValues(std::wstring_view publisherLine);

// The registry path of the uninstall section below HKEY_LOCAL_MACHINE.
std::wstring uninstallSectionPath(const CGuid& uninstallEntry);

// The command when the package carries its own "uninstall.exe":
// "\"<directory>\uninstall.exe\" <guid in lower case, no braces>".
std::wstring packagedUninstallerCommand(std::wstring_view installationDirectory, const CGuid& uninstallEntry);

// The folder with its trailing "\" and "/" removed, "\" and the name; unlike
// joinPath the name is taken as it is.
std::wstring appendToFolder(std::wstring_view folder, std::wstring_view name);

}  // namespace setup
