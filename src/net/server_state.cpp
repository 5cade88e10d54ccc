#include "net/server_state.h"

#include <windows.h>

#include <array>

#include "base/ansi.h"
#include "base/random.h"
#include "base/scoped_handle.h"
#include "frame/win_app.h"
#include "net/hidden_text.h"
#include "net/hidden_words.h"
#include "net/https_address.h"

namespace net {

namespace {

constexpr wchar_t kSection[] = L"Common";
constexpr wchar_t kApproachValue[] = L"approach";

std::optional<std::wstring> machineGuidText(REGSAM access) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Cryptography", 0, access, &opened) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  const CScopedKey key(opened);
  std::array<wchar_t, 64> text{};  // 128 bytes
  DWORD size = sizeof(text) - sizeof(wchar_t);
  DWORD type = 0;
  if (::RegQueryValueExW(key.get(), L"MachineGuid", nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  return std::wstring(text.data());
}

}  // namespace

CMachineKey readMachineKey() {
  auto text = machineGuidText(KEY_READ);
  if (!text) {
    text = machineGuidText(KEY_READ | KEY_WOW64_64KEY);
  }
  return text ? machineKeyFromText(*text) : CMachineKey{};
}

CServerState& serverState() {
  static CServerState state = [] {
    CServerState built;
    built.defaultAddress = revealWide(hidden_words::DEFAULT_ADDRESS);
    built.machineKey = readMachineKey();
    return built;
  }();
  return state;
}

bool LoadAlternateAddress() {
  const frame::CWinApp* app = frame::currentApp();
  if (!app) {
    return false;
  }
  const auto record = app->GetProfileBinary(kSection, kApproachValue);
  if (!record) {
    return false;
  }
  const auto address = openApproach(*record, serverState().machineKey);
  if (!address) {
    return false;
  }
  std::wstring wide = fromAnsi(*address);
  if (!isServerAddress(wide)) {
    return false;
  }
  serverState().alternateAddress = std::move(wide);
  return true;
}

bool StoreAlternateAddress(const std::optional<std::wstring>& address) {
  const frame::CWinApp* app = frame::currentApp();
  if (!app) {
    return false;
  }
  if (!address) {
    return app->DeleteProfileValue(kSection, kApproachValue);
  }
  const std::string text = toCodePage(CP_THREAD_ACP, *address);
  return app->WriteProfileBinary(kSection, kApproachValue, sealApproach(text, serverState().machineKey, randomValue()));
}

}  // namespace net
