// The disk really full: disk_full_wrapper.sh mounts a tmpfs of a few MiB over
// the prefix's program files folder before this program runs, so a package
// larger than that cannot be extracted.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/utf8.h"
#include "base/zip_test_support.h"
#include "base/scoped_handle.h"
#include "installer/installer.h"
#include "installer/manifest.h"
#include "installer/scenario.h"

namespace install_test {
namespace {

// Larger than the disk, and not compressible, so the package stays small in
// memory only in its stored form.
const CBytes kTooLarge = zip_test::noiseBytes(6 * 1024 * 1024, 7);
const CBytes kProgram = textBytes("MZ the program, first version");
const CBytes kData = zip_test::noiseBytes(300 * 1024, 3);

void expectNoTemporaryFile() {
  for (const auto& [name, bytes] : filesBelow(installationDirectory() + L"\\..")) {
    EXPECT_FALSE(name.ends_with(L".tmp")) << toUtf8(name);
  }
}

TEST(DiskFull, ExtractionFailsAndLeavesThePreviousInstallationIntact) {
  // Nothing installed yet: the run's folders go again.
  runAndCheck({.package = {{"Brantel.exe", kProgram}, {"data/large.bin", kTooLarge}},
               .error = setup::kExtractErrorText});
  CMachineState nothing = nothingInstalled();
  nothing.pending = CPendingRenames{};
  expectMachineState(nothing);
  expectNoTemporaryFile();

  runAndCheck({.package = {{"Brantel.exe", kProgram}, {"data/small.bin", kData}}});
  const std::map<std::wstring, CBytes> installed = {{L"Brantel.exe", kProgram}, {L"data\\small.bin", kData}};
  const CMachineState intact = installedState(installed, kProgram.size() + kData.size());
  expectMachineState(intact);

  runAndCheck({.package = {{"Brantel.exe", textBytes("MZ second")},
                           {"data/small.bin", zip_test::noiseBytes(300 * 1024, 4)},
                           {"data/large.bin", kTooLarge}},
               .error = setup::kExtractErrorText});
  expectMachineState(intact);
  expectNoTemporaryFile();
}

// Fills the disk of the folder with one file, removed again at the end.
class CDiskFiller {
public:
  explicit CDiskFiller(const std::wstring& folder) : path_(folder + L"\\filler.bin") {
    const CScopedFile file(::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    EXPECT_TRUE(file);
    const CBytes block(64 * 1024, 0x5A);
    DWORD written = 0;
    while (file && ::WriteFile(file.get(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr) &&
           written == block.size()) {
    }
    // The last bytes, a block at a time, do not fit either.
    EXPECT_FALSE(::WriteFile(file.get(), block.data(), 1024, &written, nullptr) && written == 1024);
  }
  ~CDiskFiller() { ::DeleteFileW(path_.c_str()); }
  CDiskFiller(const CDiskFiller&) = delete;
  CDiskFiller& operator=(const CDiskFiller&) = delete;

private:
  std::wstring path_;
};

// A manifest that does not fit on the disk leaves the earlier one whole: it
// is written beside it and renamed into place only once complete.
TEST(DiskFull, AManifestThatDoesNotFitLeavesTheEarlierOneWhole) {
  const std::wstring folder = installationDirectory() + L" manifest";
  ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
  std::vector<std::wstring> listed;
  for (const wchar_t* name : {L"a.txt", L"b.txt"}) {
    listed.push_back(folder + L"\\" + name);
    const CScopedFile file(::CreateFileW(listed.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    ASSERT_TRUE(file);
  }
  setup::WriteManifest(folder, listed);
  const std::optional<CBytes> earlier = readFileBytes(setup::manifestPath(folder));
  ASSERT_TRUE(earlier && !earlier->empty());

  // Some 200 KiB of manifest: far more than is left.
  std::vector<std::wstring> many(2000, folder + L"\\" + std::wstring(100, L'n'));
  {
    const CDiskFiller full(installationDirectory() + L"\\..");
    setup::WriteManifest(folder, many);
  }
  EXPECT_TRUE(readFileBytes(setup::manifestPath(folder)) == earlier) << "the earlier manifest changed";
  const auto files = filesBelow(folder);
  EXPECT_EQ(files.size(), 3u) << "a temporary file was left behind";
  std::vector<std::wstring> previous;
  setup::ReadPreviousManifest(folder, previous);
  EXPECT_EQ(previous.size(), 3u);
}

}  // namespace
}  // namespace install_test
