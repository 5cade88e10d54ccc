// The replace pass when a file cannot be replaced now and its replacement
// cannot even be arranged for the next restart: the run fails, says which
// file, keeps the previous installation where it still is, and never takes
// back a file it has already placed.
//
// The restart moves live in the session manager's key; a deny entry in its
// access list makes every registration of a move fail, as it does for a
// user without the right to write there.
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include "app/exception.h"
#include "base/scoped_handle.h"
#include "installer/installer.h"
#include "installer/scenario.h"

namespace install_test {
namespace {

const CBytes kProgram = textBytes("MZ the program, first version");
const CBytes kProgram2 = textBytes("MZ the program, second version");

CPackage firstVersion() {
  return {{"Brantel.exe", kProgram},
          {"bin/tool x64.dll", textBytes("tool one")},
          {"change.txt", textBytes("old")},
          {"drop.txt", textBytes("dropped by the next version")}};
}
CPackage secondVersion() {
  return {{"Brantel.exe", kProgram2}, {"bin/tool x64.dll", textBytes("tool two")}, {"change.txt", textBytes("new")}};
}

// No more moves or deletions at the next restart can be registered.
void refuseRestartMoves() {
  CScopedKey key;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager", 0,
                            READ_CONTROL | WRITE_DAC, key.receive()),
            ERROR_SUCCESS);
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(D;;KW;;;WD)(A;;KA;;;WD)", SDDL_REVISION_1,
                                                                     &descriptor, nullptr));
  const CScopedLocalMem owner(descriptor);
  ASSERT_EQ(::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
  // The system itself now refuses them.
  const std::wstring probe = inInstallation(L"change.txt");
  ASSERT_FALSE(::MoveFileExW(probe.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
}

// The second version's run with one file of the first held open, so that it
// can be neither replaced nor deleted now; `changeBytes` is what change.txt
// holds afterwards.
void runWithAFileHeld(const wchar_t* held, const wchar_t* text, DWORD error, const char* changeBytes) {
  runAndCheck({.package = firstVersion()});
  refuseRestartMoves();
  CRun second;
  second.package = secondVersion();
  second.heldOpen = held;
  second.error = text + inInstallation(held) + L": " + systemErrorText(error);
  runAndCheck(second);
  // The files placed before the failure stay, nothing after it was placed
  // (its temporary files are gone), and what could not go is still there.
  CMachineState expected;
  expected.folders.push_back({installationDirectory(),
                              {{L"Brantel.exe", kProgram2},
                               {L"bin\\tool.dll", textBytes("tool two")},
                               {L"change.txt", textBytes(changeBytes)},
                               {L"drop.txt", textBytes("dropped by the next version")},
                               {L"installation info.xml", std::nullopt}}});
  expected.pending = CPendingRenames{};
  expectMachineState(expected);
}

// The last file of the package: it keeps its old bytes, and nothing
// obsolete is deleted.
TEST(ReplaceFailures, AFileThatCanBePlacedNeitherNowNorAtTheRestartFailsTheRun) {
  runWithAFileHeld(L"change.txt", setup::kPlaceFileErrorText, ERROR_ACCESS_DENIED, "old");
}

// Every new file is placed; the obsolete one stays.
TEST(ReplaceFailures, AnObsoleteFileThatCanBeRemovedNeitherNowNorAtTheRestartFailsTheRun) {
  runWithAFileHeld(L"drop.txt", setup::kRemoveFileErrorText, ERROR_SHARING_VIOLATION, "new");
}

}  // namespace
}  // namespace install_test
