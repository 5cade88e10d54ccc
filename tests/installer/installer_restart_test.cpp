// Scenarios across a restart of the prefix (wine-restart.sh runs every test
// twice: BRANTEL_RESTART_PHASE=before, then "wineboot -r", then after).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/product_interface.h"
#include "base/known_folder.h"
#include "installer/scenario.h"
#include "support/paths.h"
#include "support/process.h"

namespace install_test {
namespace {

bool beforeRestart() {
  const char* phase = std::getenv("BRANTEL_RESTART_PHASE");
  return phase && std::string(phase) == "before";
}

const CBytes kProgram = textBytes("MZ the program, first version");
const CBytes kProgram2 = textBytes("MZ the program, second version");

TEST(Restart, AFileInUseIsReplacedAtTheRestart) {
  const CPackage first = {{"Brantel.exe", kProgram}, {"data.txt", textBytes("one")}};
  const CPackage second = {{"Brantel.exe", kProgram2}, {"data.txt", textBytes("two")}};
  const std::map<std::wstring, CBytes> secondInstalled = {{L"Brantel.exe", kProgram2}, {L"data.txt", textBytes("two")}};
  if (beforeRestart()) {
    runAndCheck({.package = first});
    runAndCheck({.package = second, .heldOpen = L"Brantel.exe", .restartNeeded = true});
    // Still the old program, the new one waiting under its temporary name.
    CMachineState waiting;
    waiting.folders.push_back({installationDirectory(),
                               {{L"Brantel.exe", kProgram},
                                {L"data.txt", textBytes("two")},
                                {L"installation info.xml", std::nullopt}}});
    waiting.pending = CPendingRenames{{inInstallation(L"*.tmp"), L"!" + inInstallation(L"Brantel.exe")}};
    // The temporary file is the one extra file in the folder.
    const auto files = filesBelow(installationDirectory());
    ASSERT_EQ(files.size(), 4u);
    for (const auto& [name, bytes] : files) {
      if (name.ends_with(L".tmp")) {
        waiting.folders.back().files.emplace(name, kProgram2);
      }
    }
    expectMachineState(waiting);
    return;
  }
  CMachineState after = installedState(secondInstalled, 0);
  after.pending = CPendingRenames{};
  expectMachineState(after);
}

// The stand-in product's own uninstall takes away everything the
// installation placed: files, folders, links, the uninstall entry and the
// Run value; what is in use goes at the restart.
TEST(Restart, TheProductsUninstallLeavesNothingBehind) {
  if (beforeRestart()) {
    const auto program = readFileBytes(support::buildDir() + L"\\product\\Brantel.exe");
    ASSERT_TRUE(program);
    runAndCheck({.package = {{"Brantel.exe", *program},
                             {"bin/tool x64.dll", textBytes("tool")},
                             {"docs/deep/Read Me.txt", textBytes("read me")}}});
    const std::wstring programPath = inInstallation(product::kExecutableName);
    const std::wstring runValue = L"\"" + programPath + L"\" /regrun";
    ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                                product::kName, REG_SZ, runValue.c_str(),
                                static_cast<DWORD>((runValue.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    const auto exitCode = support::runProcess(programPath, {L"/uninstall", L"/section:7BBCFE84-E6E6-47E6-8248-56D744522D62"},
                                              30000);
    ASSERT_TRUE(exitCode);
    EXPECT_EQ(*exitCode, 0u);
    return;
  }
  CMachineState nothing = nothingInstalled();
  nothing.values.push_back({L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", product::kName, std::nullopt});
  nothing.pending = CPendingRenames{};
  expectMachineState(nothing);
}

}  // namespace
}  // namespace install_test
