// Damaged and hostile packages under Wine, over an existing installation:
// each is refused with the package message, writes nothing, and leaves the
// previous installation as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "base/zip_source.h"
#include "base/zip_test_support.h"
#include "installer/installer.h"
#include "installer/scenario.h"

namespace install_test {
namespace {

using CArchive = std::vector<std::uint8_t>;

const CBytes kProgram = textBytes("MZ the program, first version");
const CBytes kText = zip_test::textBytes(70000, 5);

CPackage firstVersion() {
  return {{"Brantel.exe", kProgram},
          {"bin/tool x64.dll", textBytes("the 64-bit tool")},
          {"docs/Read Me.txt", kText},
          {"change.txt", textBytes("old")}};
}
std::map<std::wstring, CBytes> firstVersionInstalled() {
  return {{L"Brantel.exe", kProgram},
          {L"bin\\tool.dll", textBytes("the 64-bit tool")},
          {L"docs\\Read Me.txt", kText},
          {L"change.txt", textBytes("old")}};
}
// The next version: every file changed, so that any file it placed shows.
CPackage secondVersion() {
  return {{"Brantel.exe", textBytes("MZ the program, second version")},
          {"bin/tool x64.dll", textBytes("the new 64-bit tool")},
          {"docs/Read Me.txt", zip_test::textBytes(70000, 6)},
          {"change.txt", textBytes("new")}};
}

// The offset of the n-th (from 0) occurrence of the text in the archive.
std::size_t occurrence(const CArchive& archive, const std::string& text, int n) {
  std::size_t at = 0;
  for (int seen = 0;; ++seen, ++at) {
    const std::size_t found =
        zip_test::find(CArchive(archive.begin() + static_cast<std::ptrdiff_t>(at), archive.end()),
                       CArchive(text.begin(), text.end()));
    if (found == std::string::npos) {
      ADD_FAILURE() << "no occurrence " << n << " of " << text;
      return 0;
    }
    at += found;
    if (seen == n) {
      return at;
    }
  }
}

void addToEntryCounts(CArchive& archive, int delta) {
  for (std::size_t field : {8u, 10u}) {
    std::uint8_t& count = archive[archive.size() - zip::kEndRecordSize + field];
    count = static_cast<std::uint8_t>(count + delta);
  }
}

struct CPackageCase {
  const char* what;
  CPackage package;
  CDamage damage;
};

std::vector<CPackageCase> packageCases() {
  const std::string centralSignature("PK\x01\x02", 4);
  auto withFile = [](CPackageFile file) {
    CPackage package = secondVersion();
    package.push_back(std::move(file));
    return package;
  };
  return {
      // The central directory: each once made a partial or renamed set of
      // files look like a whole package.
      {"a central name differs from its local header's", secondVersion(),
       {.beforeDigest = [](CArchive& a) { a[occurrence(a, "change.txt", 1)] = 'C'; }}},
      {"a local name differs from its central entry's", secondVersion(),
       {.beforeDigest = [](CArchive& a) { a[occurrence(a, "change.txt", 0) + 1] = 'H'; }}},
      {"the end record counts one entry less", secondVersion(),
       {.beforeDigest = [](CArchive& a) { addToEntryCounts(a, -1); }}},
      {"the end record counts one entry more", secondVersion(),
       {.beforeDigest = [](CArchive& a) { addToEntryCounts(a, +1); }}},
      {"a central entry's signature is broken mid-directory", secondVersion(),
       {.beforeDigest = [centralSignature](CArchive& a) { a[occurrence(a, centralSignature, 2) + 2] = 9; }}},
      // The data of an entry.
      {"an entry's data does not match its CRC-32",
       withFile({"z.txt", textBytes("stored with a wrong CRC-32"), true}), {}},
      // The digest.
      {"one byte changed after the digest was recorded", secondVersion(),
       {.afterDigest = [](CArchive& a) { a[a.size() / 2] ^= 0x10; }}},
      {"no digest", secondVersion(), {.withoutDigest = true}},
      // Names the builder never writes.
      {"a file and a folder of the same name", withFile({"docs", textBytes("a file")}), {}},
      {"the same, the file first", [] {
         CPackage package = secondVersion();
         package.insert(package.begin(), {"Bin", textBytes("a file")});
         return package;
       }(), {}},
      {"a device name with a superscript digit", withFile({"bin/COM\xb9.dll", textBytes("x")}), {}},
      {"an installed path beyond the system's limit",
       withFile({"docs/" + std::string(240, 'n') + ".txt", textBytes("x")}), {}},
      {"an installed folder beyond the system's limit",
       withFile({std::string(225, 'd') + "/x.txt", textBytes("x")}), {}},
  };
}

TEST(DamagedPackages, AreRefusedAndLeaveThePreviousInstallationIntact) {
  ASSERT_EQ(::GetACP(), 1252u) << "the superscript digits are code page 1252's";
  runAndCheck({.package = firstVersion()});
  const auto installed = firstVersionInstalled();
  std::uint64_t size = 0;
  for (const auto& [name, bytes] : installed) {
    size += bytes.size();
  }
  CMachineState intact = installedState(installed, size);
  intact.pending = CPendingRenames{};
  expectMachineState(intact);

  for (const CPackageCase& c : packageCases()) {
    SCOPED_TRACE(c.what);
    runAndCheck({.package = c.package, .damage = c.damage, .error = setup::kPackageErrorText});
    // Byte for byte the first version: no file placed, none deleted, no
    // temporary file, no folder made, nothing waiting for a restart.
    expectMachineState(intact);
  }
}

// Without an earlier installation the refused package leaves nothing at
// all, not even the installation folder.
TEST(DamagedPackages, LeaveNothingOnAFreshMachine) {
  ASSERT_EQ(::GetACP(), 1252u) << "the superscript digits are code page 1252's";
  for (const CPackageCase& c : packageCases()) {
    SCOPED_TRACE(c.what);
    runAndCheck({.package = c.package, .damage = c.damage, .error = setup::kPackageErrorText});
    CMachineState nothing = nothingInstalled();
    nothing.pending = CPendingRenames{};
    expectMachineState(nothing);
  }
}

}  // namespace
}  // namespace install_test
