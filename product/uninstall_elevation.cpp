#include "product/uninstall_elevation.h"

#include <windows.h>

#include "app/exception.h"
#include "app/product_interface.h"
#include "base/process_elevation.h"
#include "base/scoped_handle.h"

namespace product {

namespace {

// Held by the copy that asks for elevation while it waits for the elevated
// one.  A copy that finds it held is the restarted one, which the system did
// not elevate.
constexpr wchar_t kAskingForElevation[] = L"Local\\Brantel.UninstallAskingForElevation";

constexpr wchar_t kNeedsAdministrator[] =
    L"Brantel was not uninstalled: removing it needs the rights of an administrator.";

int refuse(const std::wstring& text) {
  ::MessageBoxW(nullptr, text.c_str(), kName, MB_OK | MB_ICONERROR);
  return kExitNotElevated;
}

}  // namespace

int uninstallElevated(const std::wstring& program, const std::wstring& arguments) {
  const CScopedHandle asking(::CreateMutexW(nullptr, FALSE, kAskingForElevation));
  if (asking && ::GetLastError() == ERROR_ALREADY_EXISTS) {
    return refuse(kNeedsAdministrator);
  }
  try {
    const CScopedHandle elevated = startElevated(program, arguments);
    if (!elevated) {
      return refuse(kNeedsAdministrator);
    }
    ::WaitForSingleObject(elevated.get(), INFINITE);
    DWORD exitCode = 0;
    ::GetExitCodeProcess(elevated.get(), &exitCode);
    return static_cast<int>(exitCode);
  } catch (const XException& failure) {
    return refuse(failure.getText());
  }
}

}  // namespace product
