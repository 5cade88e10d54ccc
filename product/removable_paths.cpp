#include "product/removable_paths.h"

#include <windows.h>
#include <shlobj.h>

#include "base/known_folder.h"

namespace product {

namespace {

// Only a full path ("C:\..." or "\\server\...") means one place whatever the
// current folder.
bool isFullPath(const std::wstring& path) {
  const bool drive = path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
  const bool network = path.size() >= 2 && (path[0] == L'\\' || path[0] == L'/') && (path[1] == L'\\' || path[1] == L'/');
  return drive || network;
}

std::wstring resolve(const std::wstring& path) {
  if (!isFullPath(path)) {
    return {};
  }
  const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) {
    return {};
  }
  std::wstring full(needed, L'\0');
  const DWORD length = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) {
    return {};
  }
  full.resize(length);
  while (full.size() > 3 && full.back() == L'\\') {
    full.pop_back();
  }
  return full;
}

bool sameText(const std::wstring& a, std::size_t length, const std::wstring& b) {
  return length == b.size() && ::CompareStringOrdinal(a.c_str(), static_cast<int>(length), b.c_str(),
                                                      static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool isBelow(const std::wstring& path, const std::wstring& folder) {
  return !folder.empty() && path.size() > folder.size() + 1 && path[folder.size()] == L'\\' &&
         sameText(path, folder.size(), folder);
}

bool isLinkDirectlyIn(const std::wstring& path, const std::wstring& folder) {
  constexpr std::wstring_view kLinkExtension = L".lnk";
  const std::size_t slash = path.find_last_of(L'\\');
  return !folder.empty() && slash != std::wstring::npos && sameText(path, slash, folder) &&
         path.size() > slash + 1 + kLinkExtension.size() &&
         ::CompareStringOrdinal(path.c_str() + path.size() - kLinkExtension.size(),
                                static_cast<int>(kLinkExtension.size()), kLinkExtension.data(),
                                static_cast<int>(kLinkExtension.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

CRemovablePaths::CRemovablePaths(const std::wstring& installationDirectory,
                                 const std::vector<std::wstring>& linkFolders)
    : installationDirectory_(resolve(installationDirectory)) {
  for (const std::wstring& folder : linkFolders) {
    linkFolders_.push_back(resolve(folder));
  }
}

CRemovablePaths CRemovablePaths::ofInstallation(const std::wstring& installationDirectory) {
  return CRemovablePaths(installationDirectory,
                         {knownFolderPath(FOLDERID_CommonPrograms), knownFolderPath(FOLDERID_Desktop)});
}

std::wstring CRemovablePaths::removable(const std::wstring& listedPath) const {
  const std::wstring path = resolve(listedPath);
  if (path.empty()) {
    return {};
  }
  if (isBelow(path, installationDirectory_)) {
    return path;
  }
  for (const std::wstring& folder : linkFolders_) {
    if (isLinkDirectlyIn(path, folder)) {
      return path;
    }
  }
  return {};
}

bool CRemovablePaths::isBelowInstallation(const std::wstring& resolvedFolder) const {
  return isBelow(resolvedFolder, installationDirectory_);
}

}  // namespace product
