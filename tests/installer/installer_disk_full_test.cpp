// The disk really full: disk_full_wrapper.sh mounts a tmpfs of a few MiB over
// the prefix's program files folder before this program runs, so a package
// larger than that cannot be extracted.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/utf8.h"
#include "base/zip_test_support.h"
#include "installer/installer.h"
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

}  // namespace
}  // namespace install_test
