#include "installer/system_registration.h"

#include <shlobj.h>

#include <vector>

#include "app/exception.h"
#include "base/known_folder.h"
#include "base/scoped_handle.h"
#include "frame/dll_safety.h"
#include "installer/uninstall_values.h"

namespace setup {

namespace {

constexpr wchar_t kCurrentVersionKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr DWORD kProgramFilesBufferBytes = 520;
constexpr DWORD kMaxValueNameChars = 1024;

bool askWow64() {
  using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
  const CScopedModule kernel = frame::loadSystemLibrary(L"kernel32.dll");
  const auto isWow64Process = frame::systemFunction<IsWow64ProcessFunction>(kernel.get(), "IsWow64Process");
  BOOL wow64 = FALSE;
  return isWow64Process && isWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

REGSAM sectionAccess(bool is64Bit) { return KEY_ALL_ACCESS | (is64Bit ? KEY_WOW64_64KEY : 0); }

std::wstring programFilesFrom64BitView() {
  CScopedKey key;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kCurrentVersionKey, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, key.receive()) !=
      ERROR_SUCCESS) {
    return {};
  }
  wchar_t buffer[kProgramFilesBufferBytes / sizeof(wchar_t)] = {};
  DWORD size = sizeof(buffer) - sizeof(wchar_t);  // room for a terminator the value may lack
  DWORD type = 0;
  if (::RegQueryValueExW(key.get(), L"ProgramFilesDir", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return {};
  }
  return buffer;
}

bool setString(HKEY key, const wchar_t* name, std::wstring_view text) {
  const std::wstring value(text);
  const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  return ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes) == ERROR_SUCCESS;
}

// Every value of the key, removed.  Names are collected first: deleting
// while enumerating would skip values.
void deleteAllValues(HKEY key) {
  std::vector<std::wstring> names;
  for (DWORD index = 0;; ++index) {
    wchar_t name[kMaxValueNameChars + 1];
    DWORD length = kMaxValueNameChars + 1;
    const LONG status = ::RegEnumValueW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) {
      break;
    }
    if (status == ERROR_SUCCESS) {
      names.emplace_back(name, length);
    }
  }
  for (const std::wstring& name : names) {
    ::RegDeleteValueW(key, name.c_str());
  }
}

}  // namespace

bool is64BitSystem() {
  static const bool decided = sizeof(void*) == 8 || askWow64();
  return decided;
}

std::wstring DecideProgramFolder(bool is64Bit) {
  const std::wstring folder = is64Bit ? programFilesFrom64BitView() : knownFolderPath(FOLDERID_ProgramFiles);
  if (folder.empty()) {
    throw XExceptionGeneral(L"Failed to determine a program folder location");
  }
  return folder;
}

bool CheckUninstallSection(const CGuid& uninstallEntry, bool is64Bit) {
  const std::wstring path = uninstallSectionPath(uninstallEntry);
  CScopedKey key;
  DWORD disposition = 0;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        sectionAccess(is64Bit), nullptr, key.receive(), &disposition) != ERROR_SUCCESS) {
    return false;
  }
  key.reset();
  if (disposition == REG_CREATED_NEW_KEY) {
    ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), is64Bit ? KEY_WOW64_64KEY : 0, 0);
  }
  return true;
}

void WriteUninstallSection(const CGuid& uninstallEntry, std::wstring_view displayName,
                           std::wstring_view uninstallCommand, bool is64Bit, std::wstring_view publisherLine,
                           std::uint32_t sizeKiB) {
  CScopedKey key;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, uninstallSectionPath(uninstallEntry).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, sectionAccess(is64Bit), nullptr, key.receive(),
                        nullptr) != ERROR_SUCCESS) {
    return;
  }
  deleteAllValues(key.get());
  const bool named = setString(key.get(), L"DisplayName", displayName);
  const bool commanded = setString(key.get(), L"UninstallString", uninstallCommand);
  if (named && commanded) {
    for (const auto& [name, value] : publisherValues(publisherLine)) {
      setString(key.get(), name.c_str(), value);
    }
  }
  if (sizeKiB != 0) {
    const DWORD size = sizeKiB;
    ::RegSetValueExW(key.get(), L"EstimatedSize", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&size), sizeof(size));
  }
}

void RemoveFolderFiles(const std::wstring& folder) {
  std::vector<std::wstring> files;
  WIN32_FIND_DATAW found{};
  {
    const CScopedFind find(::FindFirstFileW(joinPath(folder, L"*.*").c_str(), &found));
    if (find) {
      do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && found.cFileName[0] != L'.') {
          files.push_back(joinPath(folder, found.cFileName));
        }
      } while (::FindNextFileW(find.get(), &found));
    }
  }
  for (const std::wstring& file : files) {
    ::DeleteFileW(file.c_str());
  }
  ::RemoveDirectoryW(folder.c_str());
}

}  // namespace setup
