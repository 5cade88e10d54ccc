#include "base/known_folder.h"

#include "base/scoped_handle.h"

std::wstring knownFolderPath(REFKNOWNFOLDERID folder) {
  PWSTR path = nullptr;
  const HRESULT result = ::SHGetKnownFolderPath(folder, 0, nullptr, &path);
  // The shell's string is freed on every path, failures included.
  const CScopedCoTaskMem owner(path);
  if (FAILED(result) || path == nullptr) {
    return {};
  }
  return std::wstring(path);
}
