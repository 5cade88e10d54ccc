#include "app/registry_setup.h"

#include <string>
#include <vector>

#include "app/product_interface.h"
#include "base/scoped_handle.h"

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kVendorKey[] = L"SOFTWARE\\MAVREN";
// Full access to a key: KEY_ALL_ACCESS.
constexpr DWORD kFullKeyAccess = 0xF003F;

// The string value, cut at its first terminator; nothing when absent.
bool readStringValue(HKEY key, const wchar_t* name, std::wstring& text) {
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ) {
    return false;
  }
  // Room for the value's size in bytes, halved, plus one character.
  std::vector<wchar_t> buffer(size / 2 + 1, L'\0');
  DWORD bytes = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
  if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes) !=
      ERROR_SUCCESS) {
    return false;
  }
  text.assign(buffer.data());
  return true;
}

}  // namespace

void migrateAutostart() {
  CScopedKey userRun;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ | KEY_SET_VALUE, userRun.receive()) !=
      ERROR_SUCCESS) {
    return;
  }
  std::wstring command;
  if (!readStringValue(userRun.get(), product::kName, command)) {
    return;
  }
  CScopedKey machineRun;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, machineRun.receive()) != ERROR_SUCCESS) {
    return;
  }
  DWORD size = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));
  if (::RegSetValueExW(machineRun.get(), product::kName, 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(command.c_str()), size) == ERROR_SUCCESS) {
    ::RegDeleteValueW(userRun.get(), product::kName);
  }
}

bool prepareVendorKey() {
  CScopedKey key;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kVendorKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, key.receive(), nullptr) != ERROR_SUCCESS) {
    return false;
  }

  BYTE everyone[SECURITY_MAX_SID_SIZE] = {};
  DWORD sidSize = sizeof(everyone);
  if (!::CreateWellKnownSid(WinWorldSid, nullptr, everyone, &sidSize)) {
    return false;
  }
  std::vector<BYTE> list(::GetLengthSid(everyone) + 24);
  auto* acl = reinterpret_cast<ACL*>(list.data());
  if (!::InitializeAcl(acl, static_cast<DWORD>(list.size()), ACL_REVISION) ||
      !::AddAccessAllowedAceEx(acl, ACL_REVISION, CONTAINER_INHERIT_ACE, kFullKeyAccess, everyone)) {
    return false;
  }
  // The key's own list only.  SetSecurityInfo would also rewrite the list of
  // every sub-key that exists already (it propagates inheritable entries),
  // and those belong to whoever made them; RegSetKeySecurity touches this
  // key alone, and new sub-keys still inherit the entry.
  SECURITY_DESCRIPTOR descriptor = {};
  if (!::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
      !::SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE)) {
    return false;
  }
  return ::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
}
