// Every ctest entry runs in a prefix of its own, set up as the tests expect.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "base/scoped_handle.h"
#include "support/paths.h"
#include "support/process.h"

namespace {

constexpr wchar_t kMarkKey[] = L"Software\\BrantelHarness";
constexpr wchar_t kMarkFile[] = L"C:\\users\\Public\\brantel-harness-mark.txt";

bool fileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string readFile(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool writeFile(const std::wstring& path, const std::string& content) {
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out << content;
  return out.good();
}

// What another process of the prefix sees: reg.exe ends with 0 when the key
// exists and 1 when it does not.
std::optional<DWORD> regQuery(const std::wstring& key) {
  return support::runProcess(L"C:\\windows\\system32\\reg.exe", {L"query", key}, 30000);
}

std::string unixVariable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// Both entries below run this: each must find no trace of the other, in the
// registry or on drive C:, and leave its own trace where the other would look.
// They run one after the other (the second depends on the first), so whichever
// runs second fails if the two shared a prefix.
void expectUnmarkedThenMark() {
  const std::wstring userKey = std::wstring(L"HKCU\\") + kMarkKey;
  const std::wstring machineKey = std::wstring(L"HKLM\\") + kMarkKey;
  EXPECT_EQ(regQuery(userKey), std::optional<DWORD>(1)) << "a mark of another entry in HKCU";
  EXPECT_EQ(regQuery(machineKey), std::optional<DWORD>(1)) << "a mark of another entry in HKLM";
  EXPECT_FALSE(fileExists(kMarkFile)) << "a mark of another entry on drive C:";

  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    CScopedKey key;
    ASSERT_EQ(::RegCreateKeyExW(root, kMarkKey, 0, nullptr, 0, KEY_WRITE, nullptr, key.receive(), nullptr),
              ERROR_SUCCESS);
  }
  ASSERT_TRUE(writeFile(kMarkFile, "marked"));
  EXPECT_EQ(regQuery(userKey), std::optional<DWORD>(0)) << "the mark must be visible to other processes";
  EXPECT_EQ(regQuery(machineKey), std::optional<DWORD>(0));
}

TEST(FreshPrefixFirst, SeesNoMarkAndLeavesOne) { expectUnmarkedThenMark(); }

TEST(FreshPrefixSecond, SeesNoMarkAndLeavesOne) { expectUnmarkedThenMark(); }

TEST(PrefixSetup, TheWindowsVersionIsTen) {
  using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
  auto rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  ASSERT_NE(rtlGetVersion, nullptr);
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
  ASSERT_EQ(rtlGetVersion(&version), 0);
  EXPECT_EQ(version.dwMajorVersion, 10u);
  EXPECT_EQ(version.dwMinorVersion, 0u);
}

// The program is told its prefix, and drive C: is that prefix's drive_c.
TEST(PrefixSetup, TheProgramKnowsItsFreshPrefix) {
  const std::string prefix = unixVariable("BRANTEL_WINE_PREFIX");
  ASSERT_FALSE(prefix.empty());
  EXPECT_EQ(prefix, unixVariable("WINEPREFIX"));
  EXPECT_EQ(prefix.find("/.wine"), std::string::npos);
  const std::wstring probe = L"C:\\brantel-harness-probe.txt";
  ASSERT_TRUE(writeFile(probe, "here"));
  EXPECT_EQ(readFile(support::windowsPathOf(prefix) + L"\\drive_c\\brantel-harness-probe.txt"), "here");
  EXPECT_TRUE(fileExists(support::windowsPathOf(prefix) + L"\\system.reg"));
}

TEST(PrefixSetup, TheBuildTreeIsReachable) {
  const std::wstring build = support::buildDir();
  ASSERT_EQ(build.rfind(L"Z:\\", 0), 0u) << "BRANTEL_BUILD_DIR as a Windows path";
  EXPECT_TRUE(fileExists(build + L"\\CMakeCache.txt"));
  EXPECT_TRUE(fileExists(support::ownFolder() + L"\\harness_test.exe"));
}

// A shortcut written to the desktop must land in the prefix, not in the home
// folder of the user who runs the tests.
TEST(PrefixSetup, ShellFoldersAreInsideThePrefix) {
  const std::string prefix = unixVariable("BRANTEL_WINE_PREFIX");
  const std::string home = unixVariable("HOME");
  ASSERT_FALSE(prefix.empty());
  for (const KNOWNFOLDERID* id : {&FOLDERID_Desktop, &FOLDERID_Documents}) {
    CScopedCoTaskMem path;
    ASSERT_EQ(::SHGetKnownFolderPath(*id, KF_FLAG_CREATE, nullptr, reinterpret_cast<PWSTR*>(path.receive())), S_OK);
    const std::wstring folder = static_cast<const wchar_t*>(path.get());
    SCOPED_TRACE(folder);
    const std::wstring name = L"brantel-harness-shell-probe.txt";
    ASSERT_TRUE(writeFile(folder + L"\\" + name, "probe"));
    // The same file seen through the unix side: inside the prefix's drive_c.
    const std::wstring throughUnix =
        support::windowsPathOf(prefix) + L"\\drive_c" + folder.substr(2) + L"\\" + name;
    EXPECT_EQ(readFile(throughUnix), "probe");
    if (!home.empty()) {
      EXPECT_FALSE(fileExists(support::windowsPathOf(home) + L"\\" + name));
      EXPECT_FALSE(fileExists(support::windowsPathOf(home) + L"\\Desktop\\" + name));
    }
  }
}

// Run through scripts/wine-restart.sh: a rename scheduled for the next restart
// happens at the prefix's restart, and not before.
TEST(RestartWrapper, ARenameAtTheNextRestartHappensThen) {
  const std::string phase = unixVariable("BRANTEL_RESTART_PHASE");
  const std::wstring scheduled = L"C:\\brantel-harness-scheduled.txt";
  const std::wstring target = L"C:\\brantel-harness-renamed.txt";
  if (phase == "before") {
    ASSERT_TRUE(writeFile(scheduled, "moved at restart"));
    ASSERT_TRUE(::MoveFileExW(scheduled.c_str(), target.c_str(), MOVEFILE_DELAY_UNTIL_REBOOT));
    EXPECT_TRUE(fileExists(scheduled));
    EXPECT_FALSE(fileExists(target));
  } else if (phase == "after") {
    EXPECT_FALSE(fileExists(scheduled));
    EXPECT_EQ(readFile(target), "moved at restart");
  } else {
    FAIL() << "run through scripts/wine-restart.sh (BRANTEL_RESTART_PHASE is \"" << phase << "\")";
  }
}

}  // namespace
