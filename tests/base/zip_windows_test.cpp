// The package as setup.exe carries it: this test program links the same
// RCDATA 103 resource, packed by the builder from the product folder, and
// reads it back with the setup's own functions.  Also the IStream sink and
// the ANSI names, against the real system.
#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "base/com_ptr.h"
#include "base/source_memory_stream.h"
#include "base/zip_archive.h"
#include "base/zip_entry_name.h"
#include "base/zip_entry_walk.h"
#include "base/zip_test_support.h"
#include "support/paths.h"

namespace {

std::vector<std::uint8_t> readFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The files of the packed product folder, by their names with "/".
std::map<std::string, std::filesystem::path> productFiles() {
  const std::filesystem::path folder = support::windowsPathOf(BRANTEL_PRODUCT_FOLDER);
  std::map<std::string, std::filesystem::path> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      files.emplace(entry.path().lexically_relative(folder).generic_string(), entry.path());
    }
  }
  return files;
}

std::vector<std::uint8_t> streamBytes(IStream* stream) {
  STATSTG stat{};
  EXPECT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(stat.cbSize.QuadPart));
  LARGE_INTEGER start{};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  ULONG read = 0;
  stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
  bytes.resize(read);
  return bytes;
}

TEST(PackageResource, EveryProductFileComesBackFromTheOwnResource) {
  std::vector<std::uint8_t> bytes;
  ASSERT_TRUE(zip::loadPackage(bytes));
  TRefPtr<zip::CZIPFile> archive = zip::openArchive(bytes.data(), bytes.size());
  ASSERT_TRUE(archive);

  // The builder recorded its digest, and its directory holds together.
  EXPECT_TRUE(archive->hasValidDigest());
  std::map<std::string, std::filesystem::path> expected = productFiles();
  ASSERT_FALSE(expected.empty());
  std::size_t largest = 0;
  zip::CEntryWalk walk(*archive);
  zip::CEntryInfo info;
  zip::WalkStep step;
  while ((step = walk.next(info)) == zip::WalkStep::Entry) {
    EXPECT_TRUE(zip::isSafeEntryName(info.wideName)) << info.name;
    auto file = expected.find(info.name);
    ASSERT_NE(file, expected.end()) << "the package holds " << info.name;
    // Into a platform memory stream, as the installer writes into files.
    TComPtr<IStream> sink(::SHCreateMemStream(nullptr, 0));
    ASSERT_TRUE(sink);
    ASSERT_TRUE(archive->extractCurrent(sink.get(), nullptr, nullptr)) << info.name;
    EXPECT_TRUE(streamBytes(sink.get()) == readFile(file->second)) << info.name;
    largest = std::max<std::size_t>(largest, info.size);
    expected.erase(file);
  }
  EXPECT_EQ(step, zip::WalkStep::End);
  EXPECT_TRUE(expected.empty()) << expected.size() << " files missing, first " << expected.begin()->first;
  if (std::string(BRANTEL_PRODUCT_FOLDER).ends_with("/sample-product")) {
    EXPECT_GT(largest, 16u * 1024 * 1024) << "the sample's large file is missing";
  }
}

TEST(PackageResource, VerificationWalkAsTheWizardDoesIt) {
  std::vector<std::uint8_t> bytes;
  ASSERT_TRUE(zip::loadPackage(bytes));
  TRefPtr<zip::CZIPFile> archive = zip::openArchive(bytes.data(), bytes.size());
  ASSERT_TRUE(archive);
  // The verification step finds entries by name without regard to case.
  for (const auto& [name, path] : productFiles()) {
    std::string upper = name;
    for (char& c : upper) {
      c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    ASSERT_EQ(archive->locateEntry(upper, zip::NameCompare::IgnoreAsciiCase), zip::kOk) << name;
    zip::CEntryInfo info;
    ASSERT_TRUE(archive->currentEntry(info));
    EXPECT_EQ(info.name, name);
    EXPECT_TRUE(archive->extractCurrent(static_cast<IStream*>(nullptr), nullptr, nullptr)) << name;
  }
}

TEST(ZipStreamSink, StartsAtTheBeginningOfTheStream) {
  const std::vector<std::uint8_t> data = zip_test::textBytes(10000);
  const std::vector<std::uint8_t> archiveBytes = zip_test::archiveOf({{"a.txt", data}});
  TRefPtr<zip::CZIPFile> archive = zip_test::open(archiveBytes);
  ASSERT_TRUE(archive);
  ASSERT_EQ(archive->firstEntry(), zip::kOk);

  // A stream left at its end by an earlier write.
  TComPtr<IStream> sink(::SHCreateMemStream(nullptr, 0));
  ASSERT_TRUE(sink);
  const std::vector<std::uint8_t> junk(100, 0xEE);
  ULONG written = 0;
  ASSERT_EQ(sink->Write(junk.data(), static_cast<ULONG>(junk.size()), &written), S_OK);
  ASSERT_TRUE(archive->extractCurrent(sink.get(), nullptr, nullptr));
  EXPECT_TRUE(streamBytes(sink.get()) == data);
}

TEST(ZipStreamSink, AStreamThatRefusesWritesFailsTheExtraction) {
  TRefPtr<zip::CZIPFile> archive = zip_test::open(zip_test::archiveOf({{"a.txt", zip_test::textBytes(10000)}}));
  ASSERT_TRUE(archive);
  ASSERT_EQ(archive->firstEntry(), zip::kOk);
  const std::uint8_t backing[16] = {};
  TComPtr<IStream> readOnly = ISourceMemoryStream::create(backing, sizeof(backing));
  EXPECT_FALSE(archive->extractCurrent(readOnly.get(), nullptr, nullptr));
}

TEST(ZipAnsiNames, EightBitNamesAreReadInTheAnsiCodePage) {
  // The test prefixes pin it (scripts/wine-template.sh).
  ASSERT_EQ(::GetACP(), 1252u);
  TRefPtr<zip::CZIPFile> archive = zip_test::open(zip_test::archiveOf({{"caf\xe9 \x80.txt", {1}}}));
  ASSERT_TRUE(archive);
  ASSERT_EQ(archive->firstEntry(), zip::kOk);
  zip::CEntryInfo info;
  ASSERT_TRUE(archive->currentEntry(info));
  EXPECT_EQ(info.name, "caf\xe9 \x80.txt");
  EXPECT_EQ(info.wideName, L"caf\u00e9 \u20ac.txt");
}

}  // namespace
