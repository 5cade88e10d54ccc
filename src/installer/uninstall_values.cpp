#include "installer/uninstall_values.h"

#include "base/text.h"

namespace setup {

std::vector<CNamedValue> publisherValues(std::wstring_view publisherLine) {
  std::vector<CNamedValue> values;
  while (!publisherLine.empty()) {
    const std::size_t end = publisherLine.find_first_of(L"\r\n");
    const std::wstring_view line = trimmed(publisherLine.substr(0, end), kLineBlanks);
    publisherLine = end == std::wstring_view::npos ? std::wstring_view() : publisherLine.substr(end + 1);

    const std::size_t equals = line.find(L'=');
    if (equals == std::wstring_view::npos || equals == 0) {
      continue;
    }
    const std::wstring_view name = trimmed(line.substr(0, equals), kLineBlanks);
    const std::wstring_view value = trimmed(line.substr(equals + 1), kLineBlanks);
    if (!name.empty() && !value.empty()) {
      values.emplace_back(name, value);
    }
  }
  return values;
}

std::wstring uninstallSectionPath(const CGuid& uninstallEntry) {
  return L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" +
         formatGuid(uninstallEntry, GuidStyle::BracedUpper);
}

std::wstring appendToFolder(std::wstring_view folder, std::wstring_view name) {
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) {
    folder.remove_suffix(1);
  }
  return std::wstring(folder) + L"\\" + std::wstring(name);
}

std::wstring packagedUninstallerCommand(std::wstring_view installationDirectory, const CGuid& uninstallEntry) {
  return L"\"" + appendToFolder(installationDirectory, L"uninstall.exe") + L"\" " +
         formatGuid(uninstallEntry, GuidStyle::Lower);
}

}  // namespace setup
