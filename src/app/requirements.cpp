#include "app/requirements.h"

#include <string>

#include "frame/dll_safety.h"
#include "frame/win_app.h"

namespace {

bool isWindows81OrLater() {
  OSVERSIONINFOEXW wanted = {};
  wanted.dwOSVersionInfoSize = sizeof(wanted);
  wanted.dwMajorVersion = 6;
  wanted.dwMinorVersion = 3;
  wanted.wServicePackMajor = 0;
  DWORDLONG condition = 0;
  condition = ::VerSetConditionMask(condition, VER_MAJORVERSION, VER_GREATER_EQUAL);
  condition = ::VerSetConditionMask(condition, VER_MINORVERSION, VER_GREATER_EQUAL);
  condition = ::VerSetConditionMask(condition, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
  return ::VerifyVersionInfoW(&wanted, VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR,
                              condition) != FALSE;
}

void showRequirement(const frame::CWinApp& app, const wchar_t* component) {
  app.messageBox(std::wstring(L"This software requires ") + component, MB_OK | MB_ICONERROR);
}

}  // namespace

bool checkRequirements(const frame::CWinApp& app, CScopedModule& mediaFoundation) {
  if (!isWindows81OrLater()) {
    showRequirement(app, L"Windows 8.1 or greater");
    return false;
  }
  mediaFoundation = frame::loadSystemLibrary(L"mfreadwrite.dll");
  if (!mediaFoundation) {
    showRequirement(app, L"Media Foundation library");
    return false;
  }
  return true;
}
