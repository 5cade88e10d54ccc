#include "base/process_elevation.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>

#include "app/exception.h"

namespace {

// ShellExecuteEx does not always set the thread's error code; its older
// result in hInstApp then says what went wrong.
DWORD shellStartError(const SHELLEXECUTEINFOW& info) {
  const DWORD lastError = ::GetLastError();
  if (lastError != ERROR_SUCCESS) {
    return lastError;
  }
  switch (reinterpret_cast<std::uintptr_t>(info.hInstApp)) {
    case SE_ERR_FNF:
      return ERROR_FILE_NOT_FOUND;
    case SE_ERR_PNF:
      return ERROR_PATH_NOT_FOUND;
    case SE_ERR_ACCESSDENIED:
      return ERROR_ACCESS_DENIED;
    case SE_ERR_SHARE:
      return ERROR_SHARING_VIOLATION;
    case SE_ERR_DLLNOTFOUND:
      return ERROR_DLL_NOT_FOUND;
    case SE_ERR_ASSOCINCOMPLETE:
    case SE_ERR_NOASSOC:
      return ERROR_NO_ASSOCIATION;
    default:
      // 0 and the rest: out of memory or resources.
      return ERROR_NOT_ENOUGH_MEMORY;
  }
}

}  // namespace

bool isProcessElevated() {
  CScopedHandle token;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.receive())) {
    return false;
  }
  TOKEN_ELEVATION elevation = {};
  DWORD size = 0;
  return ::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof(elevation), &size) &&
         elevation.TokenIsElevated != 0;
}

CScopedHandle startElevated(const std::wstring& program, const std::wstring& parameters) {
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof(info);
  // The class ".exe" runs the file as a program whatever the file
  // associations say.  The caller reports a failure; the shell must not show
  // a message box of its own as well.
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_CLASSNAME | SEE_MASK_FLAG_NO_UI;
  info.lpVerb = L"runas";
  info.lpFile = program.c_str();
  info.lpParameters = parameters.c_str();
  info.lpClass = L".exe";
  info.nShow = SW_SHOWNORMAL;
  if (!::ShellExecuteExW(&info)) {
    const DWORD error = shellStartError(info);
    if (error == ERROR_CANCELLED) {
      return CScopedHandle();
    }
    throw XExceptionFile(error, program);
  }
  return CScopedHandle(info.hProcess);
}
