// brantel-demo-install.exe: runs the installer engine on a package, as the
// installation page will once the wizard exists, and tells what it did.
//
//   brantel-demo-install.exe [--package FILE] [--desktop-icon] [--startup]
//
// Without --package it installs the package it carries itself, the same
// one setup.exe carries.  --startup also writes the per-machine Run value,
// as the page does for "start with Windows".  Exit code 0 when the
// installation is done, 3 when it needs a restart, 1 on an error.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/product_interface.h"
#include "base/scoped_handle.h"
#include "product/demo/install_runner.h"

namespace {

struct CArguments {
  std::wstring packageFile;
  bool desktopIcon = false;
  bool startup = false;
};

bool parseArguments(int argc, wchar_t** argv, CArguments& arguments) {
  for (int i = 1; i < argc; ++i) {
    const std::wstring word = argv[i];
    if (word == L"--package" && i + 1 < argc) {
      arguments.packageFile = argv[++i];
    } else if (word == L"--desktop-icon") {
      arguments.desktopIcon = true;
    } else if (word == L"--startup") {
      arguments.startup = true;
    } else {
      return false;
    }
  }
  return true;
}

void writeRunValue(const std::wstring& programPath) {
  CScopedKey run;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, KEY_SET_VALUE,
                      run.receive()) != ERROR_SUCCESS) {
    return;
  }
  const std::wstring value = demo::fillFormat(product::kRunValueFormat, {programPath, product::kSwitchRegRun});
  const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  ::RegSetValueExW(run.get(), product::kName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  CArguments arguments;
  if (!parseArguments(argc, argv, arguments)) {
    std::fwprintf(stderr, L"usage: brantel-demo-install.exe [--package FILE] [--desktop-icon] [--startup]\n");
    return 2;
  }
  const TRefPtr<zip::CZIPFile> package =
      arguments.packageFile.empty() ? demo::openOwnPackage() : demo::openPackageFile(arguments.packageFile);
  if (!package) {
    std::fwprintf(stderr, L"the package cannot be opened\n");
    return 1;
  }
  const DWORD started = ::GetTickCount();
  const demo::CInstallOutcome outcome = demo::runInstallation(demo::pageTask(package, arguments.desktopIcon));
  const DWORD took = ::GetTickCount() - started;
  std::wprintf(L"progress: %llu reports, last %lld of %lld bytes\n",
               static_cast<unsigned long long>(outcome.progressReports), static_cast<long long>(outcome.lastPosition),
               static_cast<long long>(outcome.lastRange));
  if (!outcome.done) {
    std::wprintf(L"error: %ls\n", outcome.error.empty() ? L"(the run ended without a report)" : outcome.error.c_str());
    return 1;
  }
  std::wprintf(L"installed into %ls in %lu ms\nmain program: %ls\nrestart needed: %ls\n",
               outcome.installationDirectory.c_str(), took, outcome.mainProgramPath.c_str(),
               outcome.restartNeeded ? L"yes" : L"no");
  if (arguments.startup) {
    writeRunValue(outcome.mainProgramPath);
  }
  return outcome.restartNeeded ? 3 : 0;
}
