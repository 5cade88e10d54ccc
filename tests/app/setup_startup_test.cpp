// The start-up of the real setup.exe under Wine: the hand-over between the
// first copy and its elevated copy through the launch block, which copy may
// take the block, the requirement messages, the registry preparation and the
// library search.
#include <windows.h>
#include <aclapi.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/exception.h"
#include "app/launch_block_layout.h"
#include "app/own_version.h"
#include "base/process_elevation.h"
#include "startup_support.h"
#include "support/paths.h"
#include "support/polling.h"
#include "support/process.h"
#include "support/ui_driver.h"

using namespace startup_test;
using support::CProcess;
using support::CTempFolder;

namespace {

constexpr DWORD kExitTimeoutMs = 30000;
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring buildFile(const std::wstring& relative) { return support::buildDir() + L"\\" + relative; }
std::wstring setupExe() { return buildFile(L"src\\app\\setup.exe"); }

// A picture of the screen for a failed expectation: build/.../test-screens.
std::wstring screenshotOnFailure(const wchar_t* name) {
  std::wstring folder = buildFile(L"test-screens");
  ::CreateDirectoryW(folder.c_str(), nullptr);
  std::wstring path = folder + L"\\" + name + L".png";
  ui::saveScreenshot(path);
  return path;
}

// Clicks OK in a message box and waits until it has gone.
void confirm(HWND message) {
  ASSERT_TRUE(ui::clickControl(message, L"OK"));
  ASSERT_TRUE(ui::waitWindowGone(message)) << "the message box is still there";
}

int setupProcesses() { return static_cast<int>(support::processIdsByImageName(L"setup.exe").size()); }

bool keyExists(HKEY root, const wchar_t* path) {
  CScopedKey key;
  return ::RegOpenKeyExW(root, path, 0, KEY_READ, key.receive()) == ERROR_SUCCESS;
}

std::wstring readString(HKEY root, const wchar_t* path, const wchar_t* name, bool* found = nullptr) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof(buffer);
  LSTATUS status = ::RegGetValueW(root, path, name, RRF_RT_REG_SZ, nullptr, buffer, &size);
  if (found) {
    *found = status == ERROR_SUCCESS;
  }
  return status == ERROR_SUCCESS ? buffer : L"";
}

void writeString(HKEY root, const wchar_t* path, const wchar_t* name, const std::wstring& value) {
  CScopedKey key;
  ASSERT_EQ(::RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.receive(), nullptr), ERROR_SUCCESS);
  ASSERT_EQ(::RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
}

// Runs setup.exe to its end, as a user would start it.
void runSetupToTheEnd(const std::wstring& program = setupExe()) {
  ASSERT_TRUE(support::runProcess(program, {}, kExitTimeoutMs).has_value()) << "setup.exe did not end";
}

// Whether every copy of the product the setup started (the recorder, copied
// as Brantel.exe) has ended.
bool startedProductsHaveEnded() {
  return ui::pollUntil(kExitTimeoutMs, [] { return support::processIdsByImageName(L"Brantel.exe").empty(); });
}

// The elevated copy of a setup started on "Windows 7" stops at its
// requirement message: the moment the tests use to look at both copies.
struct CWaitingSetup {
  CProcess firstCopy;
  HWND message = nullptr;
};

CWaitingSetup startSetupThatStopsAtItsRequirement() {
  setWineVersionOfSetup(L"win7");
  CWaitingSetup waiting;
  waiting.firstCopy = support::startProcess(setupExe());
  waiting.message = ui::waitForWindow({.caption = L"Brantel", .className = L"#32770"}, 20000);
  return waiting;
}

// --- The hand-over between the two copies ---------------------------------

TEST(HandOver, BothCopiesRunAndTheLaunchRequestStartsTheProductOnce) {
  CTempFolder product;
  CTempFolder workingDir;
  ASSERT_TRUE(::CopyFileW(buildFile(L"tests\\app\\recorder.exe").c_str(), (product / L"Brantel.exe").c_str(), FALSE));

  CWaitingSetup setup = startSetupThatStopsAtItsRequirement();
  ASSERT_NE(setup.message, nullptr) << "the elevated copy showed no requirement message";
  EXPECT_EQ(setupProcesses(), 2) << "the first copy and the elevated copy";

  // Meanwhile, the test plays the installation page of the elevated copy.
  CTestBlock block = CTestBlock::createOrOpen();
  ASSERT_TRUE(block.valid());
  EXPECT_EQ(block.claimed(), 1u) << "the elevated copy claims the block";
  block.setText(launch_block::kProgramPathOffset, product / L"Brantel.exe");
  block.setText(launch_block::kWorkingDirOffset, workingDir.path());
  block.setLaunchRequest(true);

  confirm(setup.message);
  ASSERT_TRUE(setup.firstCopy.wait(kExitTimeoutMs).has_value())
      << "the first copy did not end; screen: " << testing::PrintToString(screenshotOnFailure(L"hand-over"));

  // The first copy starts the product before it ends, so once it has ended
  // every start it made is running or done.
  ASSERT_TRUE(startedProductsHaveEnded());
  EXPECT_EQ(readTextFile(product / L"record.txt"), L"/justinstalled\t" + workingDir.path() + L"\n");
}

TEST(HandOver, WithoutALaunchRequestNothingIsStarted) {
  CTempFolder product;
  ASSERT_TRUE(::CopyFileW(buildFile(L"tests\\app\\recorder.exe").c_str(), (product / L"Brantel.exe").c_str(), FALSE));

  CWaitingSetup setup = startSetupThatStopsAtItsRequirement();
  ASSERT_NE(setup.message, nullptr);
  // A program is named, but the request byte stays 0.
  CTestBlock block = CTestBlock::createOrOpen();
  block.setText(launch_block::kProgramPathOffset, product / L"Brantel.exe");
  block.setText(launch_block::kWorkingDirOffset, product.path());

  confirm(setup.message);
  ASSERT_TRUE(setup.firstCopy.wait(kExitTimeoutMs).has_value());
  ASSERT_TRUE(startedProductsHaveEnded());
  EXPECT_FALSE(fileExists(product / L"record.txt"));
  EXPECT_EQ(setupProcesses(), 0);
}

TEST(HandOver, AFailedElevatedStartShowsTheSystemsTextWithTheErrorIcon) {
  ASSERT_TRUE(support::breakElevatedStarts());
  CProcess setup = support::startProcess(setupExe());
  HWND message = ui::waitForWindow({.caption = L"Brantel", .className = L"#32770"}, 20000);
  ASSERT_NE(message, nullptr) << "no message; screen: " << testing::PrintToString(screenshotOnFailure(L"no-start"));
  EXPECT_EQ(ui::messageBoxText(message), systemErrorText(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(ui::messageBoxIcon(message), ui::Icon::Error);
  EXPECT_EQ(setupProcesses(), 1) << "no elevated copy runs";
  confirm(message);
  EXPECT_TRUE(setup.wait(kExitTimeoutMs).has_value());
  EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\MAVREN"));
}

// --- Which copy may take the block ---------------------------------------------

// What Wine reports for the token: a plain start and a "runas" start are both
// elevated (Wine gives every process an administrator's full token), and only
// a start with that token's linked, limited twin is not.  The next test
// depends on it.
TEST(Elevation, APlainAndARunasStartAreElevatedTheLimitedTokenIsNot) {
  const std::wstring probe = buildFile(L"tests\\app\\elevation_probe.exe");
  EXPECT_EQ(support::runProcess(probe, {}, kExitTimeoutMs), std::optional<DWORD>(1)) << "plain start";
  CScopedHandle runas = startElevated(probe, L"");
  ASSERT_TRUE(runas.valid());
  ASSERT_EQ(::WaitForSingleObject(runas.get(), kExitTimeoutMs), WAIT_OBJECT_0);
  DWORD runasCode = 2;
  ASSERT_TRUE(::GetExitCodeProcess(runas.get(), &runasCode));
  EXPECT_EQ(runasCode, 1u) << "runas start";
  CProcess limited = support::startProcessNotElevated(probe);
  ASSERT_TRUE(limited.started());
  EXPECT_EQ(limited.wait(kExitTimeoutMs), std::optional<DWORD>(0)) << "start with the limited token";
}

// While the first copy's elevation prompt is up, the block is fresh and
// unclaimed.  A second start by the user, not elevated, must leave it to the
// elevated copy and end without a word.
TEST(BlockRules, OnlyTheElevatedCopyTakesAnUnclaimedBlock) {
  CTestBlock block = CTestBlock::createOrOpen();
  ASSERT_TRUE(block.valid());
  block.writeSignature();

  CProcess userStart = support::startProcessNotElevated(setupExe());
  ASSERT_TRUE(userStart.started());
  EXPECT_TRUE(userStart.wait(kExitTimeoutMs).has_value()) << "it waits for something; screen: "
                                                          << testing::PrintToString(screenshotOnFailure(L"user-start"));
  EXPECT_EQ(block.claimed(), 0u);
  EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\MAVREN")) << "it went on with the start-up";

  // The elevated copy then finds the block as the first copy left it.
  EXPECT_TRUE(support::runProcess(setupExe(), {}, kExitTimeoutMs).has_value());
  EXPECT_EQ(block.claimed(), 1u);
  EXPECT_TRUE(keyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\MAVREN"));
}

// --- A block that is not a first copy's, fresh and unclaimed ---------------

TEST(BlockRules, AWrongSignatureMakesTheCopyExitSilently) {
  CTestBlock block = CTestBlock::createOrOpen();
  ASSERT_TRUE(block.valid());
  block.writeSignature(0x4DF5FE41B5A58EEDull, 0xE9DEE8748936A0A9ull);  // last bit off

  EXPECT_TRUE(support::runProcess(setupExe(), {}, kExitTimeoutMs).has_value());
  EXPECT_EQ(block.claimed(), 0u);
  EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\MAVREN")) << "it went on with the start-up";
}

TEST(BlockRules, AClaimedBlockMakesTheCopyExitSilently) {
  CTestBlock block = CTestBlock::createOrOpen();
  block.writeSignature();
  block.setClaimed(1);

  EXPECT_TRUE(support::runProcess(setupExe(), {}, kExitTimeoutMs).has_value());
  EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\MAVREN")) << "it went on with the start-up";
}

TEST(BlockRules, AnUnclaimedBlockIsTakenAndTheStartUpGoesOn) {
  CTestBlock block = CTestBlock::createOrOpen();
  block.writeSignature();

  EXPECT_TRUE(support::runProcess(setupExe(), {}, kExitTimeoutMs).has_value());
  EXPECT_EQ(block.claimed(), 1u);
  EXPECT_TRUE(keyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\MAVREN"));
}

// --- The requirement check ---------------------------------------------------

TEST(Requirements, WindowsOlderThan81IsRefusedWithTheErrorIcon) {
  CWaitingSetup setup = startSetupThatStopsAtItsRequirement();
  ASSERT_NE(setup.message, nullptr);
  EXPECT_EQ(ui::messageBoxText(setup.message), L"This software requires Windows 8.1 or greater");
  EXPECT_EQ(ui::messageBoxIcon(setup.message), ui::Icon::Error);
  confirm(setup.message);
  EXPECT_TRUE(setup.firstCopy.wait(kExitTimeoutMs).has_value());
  EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\MAVREN")) << "it went on after the refusal";
}

TEST(Requirements, AMissingMediaFoundationIsRefused) {
  disableLibrary(L"mfreadwrite");
  CProcess setup = support::startProcess(setupExe());
  HWND message = ui::waitForWindow({.caption = L"Brantel", .className = L"#32770"}, 20000);
  ASSERT_NE(message, nullptr);
  EXPECT_EQ(ui::messageBoxText(message), L"This software requires Media Foundation library");
  EXPECT_EQ(ui::messageBoxIcon(message), ui::Icon::Error);
  confirm(message);
  EXPECT_TRUE(setup.wait(kExitTimeoutMs).has_value());
}

// --- What the elevated copy prepares ----------------------------------------

TEST(Preparation, TheVendorKeyGrantsEveryoneFullAccessInheritedBySubKeys) {
  runSetupToTheEnd();

  CScopedKey key;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\MAVREN", 0, READ_CONTROL, key.receive()), ERROR_SUCCESS);
  PACL list = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_EQ(::GetSecurityInfo(key.get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &list, nullptr,
                              &descriptor),
            ERROR_SUCCESS);
  CScopedLocalMem descriptorOwner(descriptor);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->AceCount, 1);
  EXPECT_EQ(list->AclRevision, ACL_REVISION);
  void* ace = nullptr;
  ASSERT_TRUE(::GetAce(list, 0, &ace));
  auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
  EXPECT_EQ(allowed->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
  EXPECT_EQ(allowed->Header.AceFlags, CONTAINER_INHERIT_ACE);
  EXPECT_EQ(allowed->Mask, 0xF003Fu);
  BYTE everyone[SECURITY_MAX_SID_SIZE] = {};
  DWORD sidSize = sizeof(everyone);
  ASSERT_TRUE(::CreateWellKnownSid(WinWorldSid, nullptr, everyone, &sidSize));
  EXPECT_TRUE(::EqualSid(&allowed->SidStart, everyone));
}

// The access list of a key as bytes, to compare it whole.
std::vector<BYTE> accessListOf(const wchar_t* path) {
  CScopedKey key;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, READ_CONTROL, key.receive()) != ERROR_SUCCESS) {
    return {};
  }
  PACL list = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (::GetSecurityInfo(key.get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &list, nullptr,
                        &descriptor) != ERROR_SUCCESS) {
    return {};
  }
  const CScopedLocalMem descriptorOwner(descriptor);
  if (!list) {
    return {};
  }
  const auto* bytes = reinterpret_cast<const BYTE*>(list);
  return std::vector<BYTE>(bytes, bytes + list->AclSize);
}

// A sub-key someone made before the start-up, readable by the system alone.
void createGuardedSubKey(const wchar_t* path) {
  CScopedKey key;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.receive(), nullptr),
            ERROR_SUCCESS);
  BYTE system[SECURITY_MAX_SID_SIZE] = {};
  DWORD sidSize = sizeof(system);
  ASSERT_TRUE(::CreateWellKnownSid(WinLocalSystemSid, nullptr, system, &sidSize));
  BYTE listBytes[128] = {};
  auto* list = reinterpret_cast<ACL*>(listBytes);
  ASSERT_TRUE(::InitializeAcl(list, sizeof(listBytes), ACL_REVISION));
  ASSERT_TRUE(::AddAccessAllowedAce(list, ACL_REVISION, KEY_READ, system));
  SECURITY_DESCRIPTOR descriptor = {};
  ASSERT_TRUE(::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
  ASSERT_TRUE(::SetSecurityDescriptorDacl(&descriptor, TRUE, list, FALSE));
  ASSERT_EQ(::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                &descriptor),
            ERROR_SUCCESS);
}

// Giving Everyone the vendor key must not rewrite the lists of the sub-keys
// that are there already.  (Wine's SetSecurityInfo does not carry entries
// into existing sub-keys either, so under Wine this guards the rule rather
// than shows the fault.)
TEST(Preparation, SubKeysThatExistKeepTheirOwnAccessLists) {
  const wchar_t* subKey = L"SOFTWARE\\MAVREN\\Guarded";
  createGuardedSubKey(subKey);
  const std::vector<BYTE> before = accessListOf(subKey);
  ASSERT_FALSE(before.empty());
  ASSERT_EQ(reinterpret_cast<const ACL*>(before.data())->AceCount, 1);

  runSetupToTheEnd();

  EXPECT_EQ(accessListOf(subKey), before);
  const std::vector<BYTE> vendor = accessListOf(L"SOFTWARE\\MAVREN");
  ASSERT_FALSE(vendor.empty());
  EXPECT_EQ(reinterpret_cast<const ACL*>(vendor.data())->AceCount, 1) << "the vendor key's own list is replaced";
}

TEST(Preparation, AutostartMovesFromTheUserToTheMachine) {
  const std::wstring command = L"\"C:\\Program Files\\Brantel\\Brantel.exe\" /regrun";
  writeString(HKEY_CURRENT_USER, kRunKey, L"Brantel", command);
  writeString(HKEY_CURRENT_USER, kRunKey, L"Other", L"other.exe");

  runSetupToTheEnd();

  bool userHasIt = true;
  readString(HKEY_CURRENT_USER, kRunKey, L"Brantel", &userHasIt);
  EXPECT_FALSE(userHasIt);
  EXPECT_EQ(readString(HKEY_LOCAL_MACHINE, kRunKey, L"Brantel"), command);
  EXPECT_EQ(readString(HKEY_CURRENT_USER, kRunKey, L"Other"), L"other.exe") << "only the product's value moves";
}

TEST(Preparation, WithoutAUserValueTheMachineRunKeyIsLeftAlone) {
  runSetupToTheEnd();
  bool machineHasIt = true;
  readString(HKEY_LOCAL_MACHINE, kRunKey, L"Brantel", &machineHasIt);
  EXPECT_FALSE(machineHasIt);
}

// --- What setup.exe carries -------------------------------------------------

TEST(Resources, TheVersionResourceGivesTheBuildVersion) {
  CScopedModule setup(::LoadLibraryExW(setupExe().c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(setup.valid());
  CVersion expected = *parseVersion(BRANTEL_EXPECTED_VERSION);
  EXPECT_EQ(moduleVersion(setup.get()), expected);
  // This test program has no version resource.
  EXPECT_EQ(moduleVersion(nullptr), CVersion{});
}

TEST(Resources, TheApplicationIconIsResource128AtEverySize) {
  CScopedModule setup(::LoadLibraryExW(setupExe().c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(setup.valid());
  for (int size : {16, 20, 24, 32, 40, 48, 64, 256}) {
    CScopedIcon icon(static_cast<HICON>(::LoadImageW(setup.get(), MAKEINTRESOURCEW(128), IMAGE_ICON, size, size, 0)));
    ASSERT_TRUE(icon.valid()) << size;
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(icon.get(), &info));
    BITMAP bitmap = {};
    ::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
    EXPECT_EQ(bitmap.bmWidth, size);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
  }
}

// --- No library from the program's own folder -------------------------------

// Libraries that a program of this kind might pull in by name; each is planted
// beside setup.exe.
const wchar_t* const kPlantedNames[] = {
    L"version.dll", L"wininet.dll", L"comctl32.dll", L"uxtheme.dll", L"mfreadwrite.dll", L"shcore.dll",
    L"dwmapi.dll",  L"winmm.dll",   L"propsys.dll",  L"cryptbase.dll", L"userenv.dll",   L"profapi.dll",
    L"msimg32.dll", L"mfplat.dll",  L"windowscodecs.dll", L"iertutil.dll", L"urlmon.dll", L"secur32.dll"};

void plantBeside(const std::wstring& folder) {
  std::wstring planted = buildFile(L"tests\\app\\planted.dll");
  for (const wchar_t* name : kPlantedNames) {
    EXPECT_TRUE(::CopyFileW(planted.c_str(), (folder + L"\\" + name).c_str(), FALSE)) << name;
  }
}

std::vector<std::wstring> loadedPlants(const std::wstring& folder) {
  std::vector<std::wstring> loaded;
  for (const wchar_t* name : kPlantedNames) {
    if (fileExists(folder + L"\\" + name + L".loaded")) {
      loaded.emplace_back(name);
    }
  }
  return loaded;
}

TEST(LibraryPlanting, AProgramThatSearchesItsFolderTakesThePlantedLibrary) {
  // The control: without the restriction, Wine does load a library planted
  // beside the program, so the next test can see a fault.
  // Wine prefers its own copies of some libraries (version, uxtheme,
  // comctl32, wininet) even beside a program, but takes others from there:
  // shcore is one, and it is what shlwapi pulls in.
  CTempFolder folder;
  plantBeside(folder.path());
  ASSERT_TRUE(::CopyFileW(buildFile(L"tests\\app\\library_probe.exe").c_str(), (folder / L"probe.exe").c_str(), FALSE));
  ASSERT_TRUE(support::runProcess(folder / L"probe.exe", {L"shcore.dll"}, kExitTimeoutMs).has_value());
  EXPECT_EQ(loadedPlants(folder.path()), std::vector<std::wstring>{L"shcore.dll"});
}

TEST(LibraryPlanting, SetupLoadsNoLibraryFromItsOwnFolder) {
  CTempFolder folder;
  plantBeside(folder.path());
  ASSERT_TRUE(::CopyFileW(setupExe().c_str(), (folder / L"setup.exe").c_str(), FALSE));
  runSetupToTheEnd(folder / L"setup.exe");
  EXPECT_TRUE(keyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\MAVREN")) << "the start-up ran to its end";
  EXPECT_EQ(loadedPlants(folder.path()), std::vector<std::wstring>{});
}

}  // namespace
