#include "app/hand_over.h"

#include <windows.h>
#include <shellapi.h>

#include "app/exception.h"
#include "app/launch_block.h"
#include "app/product_interface.h"
#include "base/process_elevation.h"
#include "base/scoped_handle.h"

namespace {

std::wstring ownExecutablePath() {
  wchar_t path[MAX_PATH] = {};
  DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    throw XExceptionFile(length == 0 ? ::GetLastError() : ERROR_FILENAME_EXCED_RANGE, std::wstring());
  }
  return std::wstring(path, length);
}

}  // namespace

void handOverToElevatedCopy(CLaunchBlock& block, const std::wstring& commandLineTail) {
  block.initialise();
  const std::wstring executable = ownExecutablePath();
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
