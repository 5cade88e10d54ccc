#include "installer/scenario.h"

#include <gtest/gtest.h>

#include "app/product_interface.h"
#include "base/path_join.h"
#include "base/utf8.h"
#include "base/known_folder.h"
#include "base/scoped_handle.h"
#include "base/zip_digest.h"
#include "installer/manifest.h"
#include "installer/uninstall_values.h"
#include "package/zip_writer.h"
#include "product/demo/install_runner.h"

namespace install_test {

namespace {

constexpr std::uint32_t kDosTime = 0x5A210000;

// Held open with read and write sharing but not delete: the file cannot be
// replaced until the handle goes.
CScopedFile holdOpen(const std::wstring& path) {
  return CScopedFile(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

TRefPtr<zip::CZIPFile> openPackage(const CPackage& files, const CDamage& damage) {
  package::CZipWriter writer;
  for (const CPackageFile& file : files) {
    if (file.damaged) {
      const std::uint32_t wrongCrc = package::crc32Of(file.bytes.data(), file.bytes.size()) ^ 1u;
      writer.addRaw(file.name, 0, file.bytes.data(), file.bytes.size(), wrongCrc,
                    static_cast<std::uint32_t>(file.bytes.size()), kDosTime);
    } else {
      writer.addFile(file.name, file.bytes, kDosTime);
    }
  }
  std::vector<std::uint8_t> archive = writer.finish();
  if (damage.beforeDigest) {
    damage.beforeDigest(archive);
  }
  if (!damage.withoutDigest && !zip::sealArchive(archive)) {
    ADD_FAILURE() << "the archive cannot take its digest";
  }
  if (damage.afterDigest) {
    damage.afterDigest(archive);
  }
  return zip::openArchive(archive.data(), archive.size());
}

std::wstring installationDirectory() { return demo::installationDirectoryFor(product::kName); }
std::wstring inInstallation(const std::wstring& relativeName) { return joinPath(installationDirectory(), relativeName); }
std::wstring startMenuLink() { return joinPath(knownFolderPath(FOLDERID_CommonPrograms), L"Brantel.lnk"); }
std::wstring desktopLink() { return joinPath(knownFolderPath(FOLDERID_Desktop), L"Brantel.lnk"); }
std::wstring uninstallKey() { return setup::uninstallSectionPath(demo::kUninstallEntry); }

void runAndCheck(const CRun& run) {
  const TRefPtr<zip::CZIPFile> package = openPackage(run.package, run.damage);
  ASSERT_TRUE(package);
  const auto task = demo::pageTask(package, run.desktopIcon);
  if (run.adjustTask) {
    run.adjustTask(*task);
  }
  CScopedFile held;
  if (!run.heldOpen.empty()) {
    held = holdOpen(inInstallation(run.heldOpen));
    ASSERT_TRUE(held) << "cannot hold the file open";
  }
  const demo::CInstallOutcome outcome = demo::runInstallation(task, run.refuseProgressAfter, 120000);
  ASSERT_TRUE(outcome.finished) << "the run did not end";
  EXPECT_EQ(toUtf8(outcome.error), toUtf8(run.error));
  EXPECT_EQ(outcome.done, run.error.empty());
  EXPECT_TRUE(outcome.progressInOrder);
  if (!outcome.done) {
    return;
  }
  EXPECT_EQ(outcome.restartNeeded, run.restartNeeded);
  EXPECT_EQ(toUtf8(outcome.installationDirectory),
            toUtf8(run.directory.empty() ? installationDirectory() : run.directory));
  const std::wstring mainProgram = run.mainProgram.empty() ? inInstallation(product::kExecutableName) : run.mainProgram;
  EXPECT_EQ(toUtf8(outcome.mainProgramPath), toUtf8(mainProgram));
  // The last report fills the bar.
  EXPECT_GE(outcome.lastPosition, outcome.lastRange);
}

CMachineState installedState(const std::map<std::wstring, CBytes>& installed, std::uint64_t bytesTotal,
                             bool desktopIcon) {
  CMachineState state;
  CExpectedFolder folder{installationDirectory(), {}, false};
  for (const auto& [name, bytes] : installed) {
    folder.files.emplace(name, bytes);
  }
  folder.files.emplace(setup::kManifestFileName, std::nullopt);
  state.folders.push_back(folder);
  const std::wstring program = inInstallation(product::kExecutableName);
  std::map<std::wstring, CRegistryValue> section = {
      {L"DisplayName", stringValue(L"Brantel")},
      {L"UninstallString",
       stringValue(L"\"" + program + L"\" /uninstall /section:7BBCFE84-E6E6-47E6-8248-56D744522D62")},
      {L"Publisher", stringValue(L"MAVREN")},
  };
  if (bytesTotal >= 1024) {
    section.emplace(L"EstimatedSize", dwordValue(static_cast<DWORD>(bytesTotal / 1024)));
  }
  state.keys.push_back({uninstallKey(), section});
  const CLinkInfo link{program, L"", L"Brantel", false};
  state.links.push_back({startMenuLink(), link});
  state.links.push_back({desktopLink(), desktopIcon ? std::optional<CLinkInfo>(link) : std::nullopt});
  state.hiddenFiles.push_back(setup::manifestPath(installationDirectory()));
  return state;
}

CMachineState nothingInstalled() {
  CMachineState state;
  state.folders.push_back({installationDirectory(), {}, true});
  state.keys.push_back({uninstallKey(), std::nullopt});
  state.links.push_back({startMenuLink(), std::nullopt});
  state.links.push_back({desktopLink(), std::nullopt});
  return state;
}

void expectManifest(const std::vector<std::wstring>& paths) {
  std::vector<std::wstring> listed;
  setup::ReadPreviousManifest(installationDirectory(), listed);
  std::vector<std::string> expected;
  for (const std::wstring& path : paths) {
    expected.push_back(toUtf8(path));
  }
  expected.push_back(toUtf8(setup::manifestPath(installationDirectory())));
  std::vector<std::string> actual;
  for (const std::wstring& path : listed) {
    actual.push_back(toUtf8(path));
  }
  EXPECT_EQ(actual, expected);
}

}  // namespace install_test
