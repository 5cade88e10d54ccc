// Installation scenarios under Wine, each in a fresh prefix: runs of the
// installer engine on packages made for the scenario, and the machine state
// they leave, compared by one checker.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/guid.h"
#include "base/path_join.h"
#include "base/utf8.h"
#include "base/known_folder.h"
#include "base/zip_test_support.h"
#include "installer/installer.h"
#include "installer/scenario.h"
#include "installer/system_registration.h"
#include "installer/uninstall_values.h"
#include "product/demo/install_runner.h"
#include "worker/envelope_window.h"
#include "worker/messages.h"

namespace install_test {
namespace {

const CBytes kProgram = textBytes("MZ the program, first version");
const CBytes kProgram2 = textBytes("MZ the program, second version");
const CBytes kTool32 = textBytes("the 32-bit tool");
const CBytes kTool64 = textBytes("the 64-bit tool");
const CBytes kText = zip_test::textBytes(70000, 5);  // several progress pieces

// The product with a 32/64-bit pair in a folder and a text in another.
CPackage firstVersion() {
  return {{"Brantel.exe", kProgram},
          {"bin/tool x86.dll", kTool32},
          {"bin/tool x64.dll", kTool64},
          {"docs/Read Me.txt", kText},
          {"change.txt", textBytes("old")},
          {"drop.txt", textBytes("dropped by the next version")}};
}
std::map<std::wstring, CBytes> firstVersionInstalled() {
  return {{L"Brantel.exe", kProgram},
          {L"bin\\tool.dll", kTool64},
          {L"docs\\Read Me.txt", kText},
          {L"change.txt", textBytes("old")},
          {L"drop.txt", textBytes("dropped by the next version")}};
}
std::uint64_t sizeOf(const std::map<std::wstring, CBytes>& files) {
  std::uint64_t size = 0;
  for (const auto& [name, bytes] : files) {
    size += bytes.size();
  }
  return size;
}

TEST(Scenarios, FreshInstall) {
  ASSERT_TRUE(setup::is64BitSystem());
  runAndCheck({.package = firstVersion()});
  const auto installed = firstVersionInstalled();
  expectMachineState(installedState(installed, sizeOf(installed)));
  // Package order, then the links.
  expectManifest({inInstallation(L"Brantel.exe"), inInstallation(L"bin\\tool.dll"), inInstallation(L"docs\\Read Me.txt"),
                  inInstallation(L"change.txt"), inInstallation(L"drop.txt"), startMenuLink(), desktopLink()});
}

TEST(Scenarios, ReinstallDropsTheOldAndReplacesTheChanged) {
  runAndCheck({.package = firstVersion()});
  // Something the installation does not own, and a value an older version
  // wrote into the uninstall section.
  const std::wstring userFile = inInstallation(L"user notes.txt");
  {
    const CScopedFile file(::CreateFileW(userFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    ASSERT_TRUE(file);
  }
  ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, uninstallKey().c_str(), L"Comments", REG_SZ, L"x", 4), ERROR_SUCCESS);

  CPackage second = firstVersion();
  second.erase(second.end() - 1);  // drop.txt
  second[0].bytes = kProgram2;
  second[4].bytes = textBytes("new");
  runAndCheck({.package = second, .desktopIcon = false});

  auto installed = firstVersionInstalled();
  installed.erase(L"drop.txt");
  installed[L"Brantel.exe"] = kProgram2;
  installed[L"change.txt"] = textBytes("new");
  const std::uint64_t total = sizeOf(installed);
  installed[L"user notes.txt"] = {};
  // The first run's desktop link was in its manifest: not asked for again,
  // it goes with the other obsolete files.
  CMachineState expected = installedState(installed, total, false);
  expected.pending = CPendingRenames{};
  expectMachineState(expected);
  expectManifest({inInstallation(L"Brantel.exe"), inInstallation(L"bin\\tool.dll"), inInstallation(L"docs\\Read Me.txt"),
                  inInstallation(L"change.txt"), startMenuLink()});
}

// Runs that fail while extracting, into an empty machine: each leaves nothing.
TEST(Scenarios, AFailedFreshInstallLeavesNothing) {
  CPackage damaged = firstVersion();
  damaged[3].damaged = true;  // docs/Read Me.txt, after the folder bin was made
  const CRun runs[] = {
      // Damaged data is the package's fault, not the disk's.
      {.package = damaged, .error = setup::kPackageErrorText},
      // The user cancels in the wait dialog during the text.
      {.package = firstVersion(), .refuseProgressAfter = 2, .error = setup::kCancelledText},
      // ... or on the report that fills the bar, the last before the renames.
      {.package = {{"Brantel.exe", kProgram}}, .refuseProgressAfter = 1, .error = setup::kCancelledText},
      // Folder entries only: nothing to place.
      {.package = {{"docs/", {}}}, .error = setup::kPackageErrorText},
      // Nothing for this system.
      {.package = {{"only x86.dll", kTool32}}, .error = setup::kPackageErrorText},
  };
  for (const CRun& run : runs) {
    runAndCheck(run);
    CMachineState expected = nothingInstalled();
    expected.pending = CPendingRenames{};
    expectMachineState(expected);
  }
}

// A stop request from the window's thread (the wait dialog's cancel) ends
// the run with exactly one report, the cancelled message, and undoes it.
TEST(Scenarios, AStopRequestEndsWithTheCancelledMessageAlone) {
  TRefPtr<setup::CInstaller> installer;
  int errors = 0;
  int done = 0;
  std::wstring error;
  CEnvelopeWindow window([&](XRefMessage& message) -> LRESULT {
    if (XMessageProgress::payloadOf(message)) {
      installer->stop(0);
    } else if (const auto failure = XMessageError::payloadOf(message)) {
      ++errors;
      error = failure->text;
    } else if (setup::XMessageInstallDone::payloadOf(message)) {
      ++done;
    }
    return 1;
  });
  const auto task = demo::pageTask(openPackage(firstVersion()), true);
  task->window = window.handle();
  installer = setup::StartInstaller(task);
  ASSERT_TRUE(pumpMessagesUntil([&] { return installer->finished(); }, std::chrono::minutes(2)));
  EXPECT_EQ(errors, 1);
  EXPECT_EQ(done, 0);
  EXPECT_EQ(toUtf8(error), toUtf8(setup::kCancelledText));
  CMachineState expected = nothingInstalled();
  expected.pending = CPendingRenames{};
  expectMachineState(expected);
}

TEST(Scenarios, AFailureHalfWayKeepsThePreviousInstallation) {
  runAndCheck({.package = firstVersion()});
  const auto installed = firstVersionInstalled();
  CPackage second = firstVersion();
  second[0].bytes = kProgram2;
  second.push_back({"new/added.txt", textBytes("added")});
  second.push_back({"z.txt", textBytes("damaged"), true});
  runAndCheck({.package = second, .error = setup::kPackageErrorText});
  // Byte for byte, the folder "new" gone again, no temporary file.
  CMachineState expected = installedState(installed, sizeOf(installed));
  expected.pending = CPendingRenames{};
  expectMachineState(expected);
}

// Names that would land outside the installation directory fail the run
// before anything is written.
TEST(Scenarios, EntryNamesLeavingTheFolderAreRefused) {
  runAndCheck({.package = firstVersion()});
  const auto installed = firstVersionInstalled();
  const std::string names[] = {"..\\evil.txt", "../evil.txt", "docs/../../evil.txt", "C:\\evil.txt", "\\evil.txt",
                               "/evil.txt", "CON x64.txt"};
  for (const std::string& name : names) {
    CPackage package = firstVersion();
    package[0].bytes = kProgram2;
    package.push_back({name, textBytes("evil")});
    runAndCheck({.package = package, .error = setup::kPackageErrorText});
    expectMachineState(installedState(installed, sizeOf(installed)));
    const std::wstring programFolder = setup::DecideProgramFolder(true);
    EXPECT_EQ(::GetFileAttributesW(joinPath(programFolder, L"evil.txt").c_str()), INVALID_FILE_ATTRIBUTES) << name;
    EXPECT_EQ(::GetFileAttributesW(L"C:\\evil.txt"), INVALID_FILE_ATTRIBUTES) << name;
  }
}

// No main program named: the first ".exe" holding the display name; no
// command given and no packaged uninstaller: the uninstall link, run as
// administrator.
TEST(Scenarios, MainProgramDetectionAndTheUninstallLink) {
  const CPackage package = {{"setup.exe", textBytes("not the program")},
                            {"tools/BRANTEL Viewer.exe", kProgram},
                            {"Brantel.exe", kProgram2}};
  const std::wstring viewer = inInstallation(L"tools\\BRANTEL Viewer.exe");
  runAndCheck({.package = package,
               .adjustTask = [](setup::XInstallTask::CMessage& task) {
                 task.mainProgramFile.clear();
                 task.uninstallCommand.clear();
               },
               .mainProgram = viewer});
  const std::wstring uninstallLink = inInstallation(L"uninstall.lnk");
  CMachineState expected;
  expected.keys.push_back({uninstallKey(), std::map<std::wstring, CRegistryValue>{
                                               {L"DisplayName", stringValue(L"Brantel")},
                                               {L"UninstallString", stringValue(uninstallLink)},
                                               {L"Publisher", stringValue(L"MAVREN")},
                                           }});
  // The link is made with the run-as flag, which Wine's link object drops
  // when it saves (on Windows the flag is 0x2000 in the file's header).
  expected.links = {
      {uninstallLink,
       CLinkInfo{viewer, L"/uninstall:7bbcfe84-e6e6-47e6-8248-56d744522d62", L"Uninstall Brantel", std::nullopt}},
      {startMenuLink(), CLinkInfo{viewer, L"", L"Brantel", false}},
      {desktopLink(), CLinkInfo{viewer, L"", L"Brantel", false}},
  };
  expectMachineState(expected);
  expectManifest({inInstallation(L"setup.exe"), viewer, inInstallation(L"Brantel.exe"), uninstallLink, startMenuLink(),
                  desktopLink()});
}

TEST(Scenarios, PackagedUninstallerAndAnInstallationWithoutSection) {
  const CPackage package = {{"Brantel.exe", kProgram}, {"Uninstall.exe", textBytes("the uninstaller")}};
  runAndCheck({.package = package,
               .adjustTask = [](setup::XInstallTask::CMessage& task) { task.uninstallCommand.clear(); }});
  const auto values = registryValues(uninstallKey());
  ASSERT_TRUE(values);
  EXPECT_TRUE(values->at(L"UninstallString") ==
              stringValue(L"\"" + inInstallation(L"uninstall.exe") + L"\" 7bbcfe84-e6e6-47e6-8248-56d744522d62"));

  // An all-zero entry: no section, no uninstall link; the links still come.
  const std::wstring plain = joinPath(setup::DecideProgramFolder(true), L"Plain");
  runAndCheck({.package = {{"Plain.exe", kProgram}},
               .adjustTask = [](setup::XInstallTask::CMessage& task) {
                 task.uninstallEntry = CGuid{};
                 task.uninstallCommand.clear();
                 task.folderName = L"Plain";
                 task.displayName = L"Plain";
                 task.mainProgramFile.clear();
               },
               .mainProgram = joinPath(plain, L"Plain.exe"),
               .directory = plain});
  CMachineState expected;
  expected.keys.push_back({setup::uninstallSectionPath(CGuid{}), std::nullopt});
  expected.folders.push_back({plain, {{L"Plain.exe", kProgram}, {L"installation info.xml", std::nullopt}}});
  expected.links.push_back({joinPath(knownFolderPath(FOLDERID_CommonPrograms), L"Plain.lnk"),
                            CLinkInfo{joinPath(plain, L"Plain.exe"), L"", L"Plain", false}});
  expectMachineState(expected);
}

TEST(Scenarios, TheBetaInstallationBesideIsCleared) {
  const std::wstring beta = installationDirectory() + L" BETA";
  const std::wstring betaLink = joinPath(knownFolderPath(FOLDERID_Desktop), L"Brantel BETA.lnk");
  ASSERT_TRUE(::CreateDirectoryW(beta.c_str(), nullptr));
  ASSERT_TRUE(::CreateDirectoryW(joinPath(beta, L"keep").c_str(), nullptr));
  for (const std::wstring& path : {joinPath(beta, L"Brantel.exe"), joinPath(beta, L"keep\\inner.txt"), betaLink}) {
    const CScopedFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    ASSERT_TRUE(file);
  }
  runAndCheck({.package = firstVersion()});
  CMachineState expected;
  expected.folders.push_back({beta, {{L"keep\\inner.txt", CBytes{}}}});
  expected.links.push_back({betaLink, std::nullopt});
  expectMachineState(expected);
}

}  // namespace
}  // namespace install_test
