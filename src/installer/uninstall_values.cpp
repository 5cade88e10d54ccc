#include "installer/uninstall_values.h"

namespace setup {

namespace {

std::wstring_view trimmed(std::wstring_view text) {
  constexpr std::wstring_view kBlanks = L" \t";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::wstring_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

std::vector<CNamedValue> publisherValues(std::wstring_view publisherLine) {
  std::vector<CNamedValue> values;
  while (!publisherLine.empty()) {
    const std::size_t end = publisherLine.find_first_of(L"\r\n");
    const std::wstring_view line = trimmed(publisherLine.substr(0, end));
    publisherLine = end == std::wstring_view::npos ? std::wstring_view() : publisherLine.substr(end + 1);

    const std::size_t equals = line.find(L'=');
    if (equals == std::wstring_view::npos || equals == 0) {
      continue;
    }
    const std::wstring_view name = trimmed(line.substr(0, equals));
    const std::wstring_view value = trimmed(line.substr(equals + 1));
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
