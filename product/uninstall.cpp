#include "product/uninstall.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "app/product_interface.h"
#include "base/scoped_handle.h"
#include "installer/manifest.h"
#include "product/removable_paths.h"

namespace product {

namespace {

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

void deleteNowOrAtRestart(const std::wstring& path, bool isFolder) {
  const BOOL deleted = isFolder ? ::RemoveDirectoryW(path.c_str()) : ::DeleteFileW(path.c_str());
  if (!deleted && ::GetLastError() != ERROR_FILE_NOT_FOUND && ::GetLastError() != ERROR_PATH_NOT_FOUND) {
    ::MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  }
}

// The folders between the removed files and the installation directory,
// deepest first, then the directory itself.
std::vector<std::wstring> foldersOf(const std::vector<std::wstring>& files, const CRemovablePaths& removable) {
  std::vector<std::wstring> folders;
  for (const std::wstring& file : files) {
    for (std::wstring folder = file.substr(0, file.find_last_of(L'\\')); removable.isBelowInstallation(folder);
         folder = folder.substr(0, folder.find_last_of(L'\\'))) {
      if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
        folders.push_back(folder);
      }
    }
  }
  std::sort(folders.begin(), folders.end(),
            [](const std::wstring& a, const std::wstring& b) { return a.size() > b.size(); });
  folders.push_back(removable.installationDirectory());
  return folders;
}

void removeRegistration(const CGuid& section) {
  const std::wstring entry = kUninstallKey + formatGuid(section, GuidStyle::BracedUpper);
  ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, entry.c_str(), KEY_WOW64_64KEY, 0);
  CScopedKey run;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, run.receive()) ==
      ERROR_SUCCESS) {
    ::RegDeleteValueW(run.get(), kName);
  }
}

}  // namespace

void uninstallProduct(const std::wstring& installationDirectory, const CGuid& section) {
  const CRemovablePaths removable = CRemovablePaths::ofInstallation(installationDirectory);
  std::vector<std::wstring> listed;
  setup::ReadPreviousManifest(installationDirectory, listed);
  std::vector<std::wstring> files;
  for (const std::wstring& path : listed) {
    if (std::wstring file = removable.removable(path); !file.empty()) {
      files.push_back(std::move(file));
    }
  }
  for (const std::wstring& file : files) {
    deleteNowOrAtRestart(file, false);
  }
  removeRegistration(section);
  for (const std::wstring& folder : foldersOf(files, removable)) {
    deleteNowOrAtRestart(folder, true);
  }
}

}  // namespace product
