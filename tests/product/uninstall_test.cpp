// The stand-in product's uninstall under Wine: it deletes only what lies
// where the installation puts things, and a start that is not elevated first
// restarts itself elevated with the same arguments.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/exception.h"
#include "app/product_interface.h"
#include "base/known_folder.h"
#include "installer/manifest.h"
#include "product/uninstall_elevation.h"
#include "support/paths.h"
#include "support/process.h"
#include "support/ui_driver.h"

namespace {

constexpr DWORD kExitTimeoutMs = 30000;
constexpr wchar_t kSection[] = L"/section:7BBCFE84-E6E6-47E6-8248-56D744522D62";

bool exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void writeFile(const std::wstring& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(std::filesystem::path(path), std::ios::binary) << text;
}

std::string readFile(const std::wstring& path) {
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// An installation of the product in a folder of its own: Brantel.exe, one
// file in a sub-folder, and a manifest that lists the file and `extra`.
// Every start of the product is noted in a log of the test's own.
struct CInstallation {
  support::CTempFolder root;
  std::wstring directory = root / L"Brantel";
  std::wstring program = directory + L"\\" + product::kExecutableName;
  std::wstring placedFile = directory + L"\\docs\\Read Me.txt";
  std::wstring startLog = root / L"starts.log";

  explicit CInstallation(std::vector<std::wstring> extra = {}) {
    writeFile(placedFile, "read me");
    std::filesystem::copy_file(std::filesystem::path(support::buildDir() + L"\\product\\Brantel.exe"),
                               std::filesystem::path(program));
    extra.insert(extra.begin(), placedFile);
    setup::WriteManifest(directory, extra);
    ::SetEnvironmentVariableW(L"BRANTEL_PRODUCT_LOG", startLog.c_str());
  }
};

// The product's uninstall deletes what its manifest lists only where the
// installation puts things: inside its folder, and links directly in the
// start menu's programs folder and on the desktop.
TEST(ProductUninstall, DeletesOnlyWhatLiesWhereTheInstallationPutsThings) {
  support::CTempFolder elsewhere;
  const std::wstring desktop = knownFolderPath(FOLDERID_Desktop);
  const std::wstring startMenu = knownFolderPath(FOLDERID_CommonPrograms);
  ASSERT_FALSE(desktop.empty());
  ASSERT_FALSE(startMenu.empty());
  struct CListed {
    std::wstring path;  // as the manifest lists it
    bool deleted;
  };
  const std::wstring linkOnDesktop = desktop + L"\\Brantel.lnk";
  const std::wstring linkInStartMenu = startMenu + L"\\Brantel.lnk";
  CInstallation installation;  // made first: the cases name its folder
  const std::vector<CListed> cases = {
      {installation.directory + L"\\..\\beside the installation.txt", false},
      {installation.directory + L"\\docs\\..\\..\\up two.txt", false},
      {elsewhere / L"kept.txt", false},
      {desktop + L"\\notes.txt", false},                   // on the desktop, but no link
      {desktop + L"\\deeper\\Brantel.lnk", false},         // a link, but not directly there
      {linkOnDesktop, true},
      {linkInStartMenu, true},
      {installation.directory + L"/docs/forward.txt", true},
      {installation.directory + L"\\DOCS\\other case.txt", true},
  };
  std::vector<std::wstring> listed = {installation.placedFile};
  for (const CListed& item : cases) {
    writeFile(item.path, "x");
    listed.push_back(item.path);
  }
  setup::WriteManifest(installation.directory, listed);

  const auto exitCode = support::runProcess(installation.program, {product::kSwitchUninstall, kSection}, kExitTimeoutMs);
  ASSERT_TRUE(exitCode);
  EXPECT_EQ(*exitCode, 0u);
  for (const CListed& item : cases) {
    EXPECT_EQ(exists(item.path), !item.deleted) << testing::PrintToString(item.path);
  }
  EXPECT_FALSE(exists(installation.placedFile));
  EXPECT_FALSE(exists(installation.directory + L"\\docs")) << "the emptied folder goes too";
  EXPECT_FALSE(exists(setup::manifestPath(installation.directory)));
  EXPECT_TRUE(exists(elsewhere.path())) << "a listed file's folder outside stays";
}

// A message box of the product with the error icon; the box is closed and
// its text handed back.
std::wstring confirmErrorMessage() {
  const auto message = ui::waitForMessageBox(product::kName, 20000);
  if (!message) {
    ADD_FAILURE() << "no message box";
    return {};
  }
  EXPECT_EQ(message->icon, ui::Icon::Error);
  EXPECT_TRUE(ui::clickControl(message->hwnd, L"OK"));
  EXPECT_TRUE(ui::waitWindowGone(message->hwnd));
  return message->text;
}

TEST(ProductUninstall, AnElevationThatCannotStartEndsWithTheSystemsTextAndDeletesNothing) {
  CInstallation installation;
  ASSERT_TRUE(support::breakElevatedStarts());
  support::CProcess start =
      support::startProcessNotElevated(installation.program, {product::kSwitchUninstall, kSection});
  ASSERT_TRUE(start.started());
  EXPECT_EQ(confirmErrorMessage(), systemErrorText(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(start.wait(kExitTimeoutMs), std::optional<DWORD>(product::kExitNotElevated));
  EXPECT_TRUE(exists(installation.placedFile));
}

// Started by an ordinary user, the uninstall starts itself again with the verb
// "runas" and the same arguments, and waits for that copy.  Wine 8 runs a
// "runas" start with the starter's own token, so the restarted copy is not
// elevated either: it must tell the user and end instead of asking again, and
// the first copy then ends with its result without a message of its own.
TEST(ProductUninstall, ANotElevatedStartAsksOnceForElevationWithTheSameArgumentsAndWaits) {
  CInstallation installation;
  support::CProcess start =
      support::startProcessNotElevated(installation.program, {product::kSwitchUninstall, kSection});
  ASSERT_TRUE(start.started());
  const auto message = ui::waitForMessageBox(product::kName, 20000);
  ASSERT_TRUE(message) << "no message from the restarted copy";
  EXPECT_NE(message->text.find(L"administrator"), std::wstring::npos) << testing::PrintToString(message->text);
  EXPECT_EQ(message->icon, ui::Icon::Error);
  DWORD shownBy = 0;
  ::GetWindowThreadProcessId(message->hwnd, &shownBy);
  EXPECT_NE(shownBy, start.id()) << "the restarted copy shows it";
  EXPECT_FALSE(start.wait(0).has_value()) << "the first copy waits for the restarted one";
  ASSERT_TRUE(ui::clickControl(message->hwnd, L"OK"));

  EXPECT_EQ(start.wait(kExitTimeoutMs), std::optional<DWORD>(product::kExitNotElevated));
  const std::string once = "/uninstall /section:7BBCFE84-E6E6-47E6-8248-56D744522D62\r\n";
  EXPECT_EQ(readFile(installation.startLog), once + once) << "the user's start and one restart";
  EXPECT_TRUE(exists(installation.placedFile));
}

}  // namespace
