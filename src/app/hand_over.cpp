#include "app/hand_over.h"

#include <windows.h>
#include <shellapi.h>

#include "app/launch_block.h"
#include "app/product_interface.h"
#include "base/scoped_handle.h"

namespace {

std::wstring ownExecutablePath() {
  wchar_t path[MAX_PATH] = {};
  DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    return {};
  }
  return std::wstring(path, length);
}

CScopedHandle startElevated(const std::wstring& executable, const std::wstring& parameters) {
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof(info);
  // The class ".exe" runs the file as a program whatever the file
  // associations say.
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_CLASSNAME;
  info.lpVerb = L"runas";
  info.lpFile = executable.c_str();
  info.lpParameters = parameters.c_str();
  info.lpClass = L".exe";
  info.nShow = SW_SHOWNORMAL;
  if (!::ShellExecuteExW(&info)) {
    return CScopedHandle();
  }
  return CScopedHandle(info.hProcess);
}

}  // namespace

void handOverToElevatedCopy(CLaunchBlock& block, const std::wstring& commandLineTail) {
  block.initialise();
  std::wstring executable = ownExecutablePath();
  if (executable.empty()) {
    return;
  }
  CScopedHandle elevated = startElevated(executable, commandLineTail);
  if (!elevated) {
    return;
  }
  ::WaitForSingleObject(elevated.get(), INFINITE);
  elevated.reset();

  // The elevated copy has ended: nobody writes the block any more.
  if (!block.launchRequested()) {
    return;
  }
  std::wstring program = block.programPath();
  std::wstring directory = block.workingDirectory();
  ::ShellExecuteW(nullptr, nullptr, program.c_str(), product::kSwitchJustInstalled,
                  directory.empty() ? nullptr : directory.c_str(), SW_SHOWDEFAULT);
}
