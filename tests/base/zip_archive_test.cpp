// The archive reader over archives made in memory: in the host tree over its
// copy of the bytes, in the windows tree over the platform's memory stream.
#include "base/zip_archive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "base/zip_test_support.h"

namespace {

using zip_test::CFile;
using zip_test::CVectorSink;

struct CProgressLog {
  std::vector<std::uint32_t> done;
  std::uint32_t total = 0;
  std::size_t abortAfter = SIZE_MAX;

  static bool record(std::uint32_t bytesDone, std::uint32_t bytesTotal, void* user) {
    auto* log = static_cast<CProgressLog*>(user);
    log->done.push_back(bytesDone);
    log->total = bytesTotal;
    return log->done.size() < log->abortAfter;
  }
};

const std::vector<CFile>& sampleFiles() {
  static const std::vector<CFile> files = {
      {"empty.txt", {}},
      {"one.bin", {0x5A}},
      {"bin/just below a piece.bin", zip_test::noiseBytes(4095, 2)},
      {"bin/one piece.bin", zip_test::noiseBytes(4096, 3)},
      {"bin/just above a piece.bin", zip_test::noiseBytes(4097, 4)},
      {"docs\\text.txt", zip_test::textBytes(100000, 5)},
      {"data/big.txt", zip_test::textBytes(3 * 1024 * 1024 + 17, 6)},
  };
  return files;
}

TEST(ZipArchive, EveryEntryComesBackByteForByte) {
  TRefPtr<zip::CZIPFile> archive = zip_test::open(zip_test::archiveOf(sampleFiles()));
  ASSERT_TRUE(archive);
  const std::vector<zip::CEntryInfo> entries = zip_test::walk(*archive);
  ASSERT_EQ(entries.size(), sampleFiles().size());

  std::size_t index = 0;
  for (int step = archive->firstEntry(); step == zip::kOk; step = archive->nextEntry(), ++index) {
    const CFile& file = sampleFiles()[index];
    zip::CEntryInfo info;
    ASSERT_TRUE(archive->currentEntry(info));
    EXPECT_EQ(info.name, file.name);
    EXPECT_EQ(info.wideName, std::wstring(file.name.begin(), file.name.end()));
    EXPECT_EQ(info.size, file.bytes.size());

    CVectorSink sink;
    CProgressLog progress;
    ASSERT_TRUE(archive->extractCurrent(&sink, &CProgressLog::record, &progress)) << file.name;
    EXPECT_EQ(sink.bytes, file.bytes) << file.name;
    EXPECT_EQ(sink.rewinds, 1);
    // One call per piece of at most 4096 bytes, counting up to the size.
    EXPECT_EQ(progress.done.size(), (file.bytes.size() + zip::kPieceSize - 1) / zip::kPieceSize) << file.name;
    for (std::size_t p = 0; p < progress.done.size(); ++p) {
      const std::uint32_t before = p == 0 ? 0 : progress.done[p - 1];
      EXPECT_GT(progress.done[p], before);
      EXPECT_LE(progress.done[p] - before, zip::kPieceSize);
    }
    if (!progress.done.empty()) {
      EXPECT_EQ(progress.done.back(), file.bytes.size());
      EXPECT_EQ(progress.total, file.bytes.size());
    }
  }
  EXPECT_EQ(index, sampleFiles().size());
  EXPECT_EQ(archive->nextEntry(), zip::kEndOfList);
}

TEST(ZipArchive, WalkEndsAfterTheLastEntry) {
  TRefPtr<zip::CZIPFile> archive = zip_test::open(zip_test::archiveOf({{"a", {1}}, {"b", {2}}}));
  ASSERT_TRUE(archive);
  ASSERT_EQ(archive->firstEntry(), zip::kOk);
  ASSERT_EQ(archive->nextEntry(), zip::kOk);
  EXPECT_EQ(archive->nextEntry(), zip::kEndOfList);
  EXPECT_EQ(archive->nextEntry(), zip::kEndOfList);
  // A second walk starts over.
  EXPECT_EQ(zip_test::walk(*archive).size(), 2u);
}

TEST(ZipArchive, ArchiveWithoutEntriesOpensAndYieldsNothing) {
  // The reader looks for the end record after the first byte of the
  // archive, so the bare 22-byte record of an empty archive does not open;
  // behind any other bytes (a stub, as in self-extracting archives) it does.
  const std::vector<std::uint8_t> bare = zip_test::plainArchiveOf({});
  EXPECT_FALSE(zip_test::open(bare));
  std::vector<std::uint8_t> behindStub(16, 0);
  behindStub.insert(behindStub.end(), bare.begin(), bare.end());
  TRefPtr<zip::CZIPFile> archive = zip_test::open(behindStub);
  ASSERT_TRUE(archive);
  EXPECT_EQ(archive->firstEntry(), zip::kEndOfList);
  EXPECT_TRUE(zip_test::walk(*archive).empty());
}

TEST(ZipArchive, BytesThatAreNoArchiveDoNotOpen) {
  const std::vector<std::uint8_t> noise = zip_test::noiseBytes(5000, 7);
  EXPECT_FALSE(zip_test::open(noise));
  EXPECT_FALSE(zip::openArchive(noise.data(), 0));
  EXPECT_FALSE(zip::openArchive(nullptr, 10));
  // An archive cut before its end record.
  std::vector<std::uint8_t> cut = zip_test::plainArchiveOf(sampleFiles());
  cut.resize(cut.size() - 22);
  EXPECT_FALSE(zip_test::open(cut));
}

TEST(ZipArchive, ArchiveOutlivesTheBytesItWasOpenedOn) {
  TRefPtr<zip::CZIPFile> archive;
  {
    std::vector<std::uint8_t> bytes = zip_test::archiveOf({{"kept.txt", zip_test::textBytes(9000)}});
    archive = zip_test::open(bytes);
    std::fill(bytes.begin(), bytes.end(), 0);
  }
  ASSERT_TRUE(archive);
  ASSERT_EQ(archive->firstEntry(), zip::kOk);
  CVectorSink sink;
  ASSERT_TRUE(archive->extractCurrent(&sink, nullptr, nullptr));
  EXPECT_EQ(sink.bytes, zip_test::textBytes(9000));
}

TEST(ZipExtract, WithoutSinkOrProgressDecompressesAndSucceeds) {
  TRefPtr<zip::CZIPFile> archive = zip_test::open(zip_test::archiveOf(sampleFiles()));
  ASSERT_TRUE(archive);
  int extracted = 0;
  for (int step = archive->firstEntry(); step == zip::kOk; step = archive->nextEntry()) {
    EXPECT_TRUE(archive->extractCurrent(static_cast<zip::XExtractSink*>(nullptr), nullptr, nullptr));
    ++extracted;
  }
  EXPECT_EQ(extracted, static_cast<int>(sampleFiles().size()));
}

TEST(ZipExtract, ProgressThatRefusesTheFirstPieceStopsAfterIt) {
  TRefPtr<zip::CZIPFile> archive = zip_test::open(zip_test::archiveOf({{"t.txt", zip_test::textBytes(50000)}}));
  ASSERT_TRUE(archive);
  ASSERT_EQ(archive->firstEntry(), zip::kOk);
  CVectorSink sink;
  CProgressLog progress;
  progress.abortAfter = 1;
  EXPECT_FALSE(archive->extractCurrent(&sink, &CProgressLog::record, &progress));
  ASSERT_EQ(progress.done.size(), 1u);
  EXPECT_EQ(progress.done[0], zip::kPieceSize);
  EXPECT_TRUE(sink.bytes.empty()) << "the refused piece reached the sink";

  // The next extraction of the same entry starts from its beginning.
  CVectorSink again;
  EXPECT_TRUE(archive->extractCurrent(&again, nullptr, nullptr));
  EXPECT_EQ(again.bytes, zip_test::textBytes(50000));
}

TEST(ZipExtract, SinkThatRefusesAPieceFailsTheExtraction) {
  TRefPtr<zip::CZIPFile> archive = zip_test::open(zip_test::archiveOf({{"t.txt", zip_test::textBytes(50000)}}));
  ASSERT_TRUE(archive);
  ASSERT_EQ(archive->firstEntry(), zip::kOk);
  CVectorSink sink;
  sink.refuseAfter = 3;
  EXPECT_FALSE(archive->extractCurrent(&sink, nullptr, nullptr));
  EXPECT_EQ(sink.pieces, 4);
}

TEST(ZipExtract, EntryStoredWithAnotherMethodCannotBeExtracted) {
  package::CZipWriter writer;
  const std::vector<std::uint8_t> data = zip_test::textBytes(1000);
  const std::uint32_t crc = package::crc32Of(data.data(), data.size());
  writer.addRaw("bzip2.bin", 12, data.data(), data.size(), crc, 1000, 0x00210000);
  TRefPtr<zip::CZIPFile> archive = zip_test::open(writer.finish());
  ASSERT_TRUE(archive);
  ASSERT_EQ(archive->firstEntry(), zip::kOk);
  zip::CEntryInfo info;
  ASSERT_TRUE(archive->currentEntry(info));
  EXPECT_EQ(info.size, 1000u);
  CVectorSink sink;
  EXPECT_FALSE(archive->extractCurrent(&sink, nullptr, nullptr));
  EXPECT_TRUE(sink.bytes.empty());
}

TEST(ZipExtract, LongNamesAreCutTo256Bytes) {
  const std::string name(300, 'n');
  TRefPtr<zip::CZIPFile> archive = zip_test::open(zip_test::archiveOf({{name, {1, 2, 3}}}));
  ASSERT_TRUE(archive);
  ASSERT_EQ(archive->firstEntry(), zip::kOk);
  zip::CEntryInfo info;
  ASSERT_TRUE(archive->currentEntry(info));
  EXPECT_EQ(info.name, name.substr(0, 256));
  EXPECT_TRUE(archive->extractCurrent(static_cast<zip::XExtractSink*>(nullptr), nullptr, nullptr));
}

// A package whose stored bytes were changed never extracts: every single
// flipped byte of an entry's data is caught.
struct CDamageCase {
  const char* what;
  std::vector<std::uint8_t> bytes;
};

TEST(ZipDamage, FlippedDataByteFailsExtraction) {
  const std::vector<CDamageCase> cases = {
      {"stored", zip_test::noiseBytes(10000, 11)},
      {"deflated", zip_test::textBytes(60000, 12)},
  };
  for (const CDamageCase& c : cases) {
    const std::vector<std::uint8_t> archive = zip_test::archiveOf({{"entry.bin", c.bytes}});
    std::vector<std::uint8_t> stored = c.bytes;
    if (std::string(c.what) == "deflated") {
      stored = package::deflateRaw(c.bytes.data(), c.bytes.size());
    }
    const std::size_t dataOffset = zip_test::find(archive, stored);
    ASSERT_NE(dataOffset, std::string::npos) << c.what;
    for (std::size_t at : {std::size_t{0}, stored.size() / 2, stored.size() - 1}) {
      std::vector<std::uint8_t> damaged = archive;
      damaged[dataOffset + at] ^= 0x01;
      TRefPtr<zip::CZIPFile> opened = zip_test::open(damaged);
      ASSERT_TRUE(opened) << c.what;
      ASSERT_EQ(opened->firstEntry(), zip::kOk);
      EXPECT_FALSE(opened->extractCurrent(static_cast<zip::XExtractSink*>(nullptr), nullptr, nullptr))
          << c.what << " byte " << at;
    }
  }
}

TEST(ZipDamage, LocalHeaderThatDisagreesWithTheDirectoryFails) {
  const std::vector<std::uint8_t> archive = zip_test::archiveOf({{"entry.txt", zip_test::textBytes(3000)}});
  // Local header: method at 8, CRC-32 at 14, sizes at 18 and 22.
  for (std::size_t field : {8u, 14u, 18u, 22u}) {
    std::vector<std::uint8_t> damaged = archive;
    damaged[field] ^= 0x04;
    TRefPtr<zip::CZIPFile> opened = zip_test::open(damaged);
    ASSERT_TRUE(opened);
    ASSERT_EQ(opened->firstEntry(), zip::kOk);
    EXPECT_FALSE(opened->extractCurrent(static_cast<zip::XExtractSink*>(nullptr), nullptr, nullptr))
        << "local header byte " << field;
  }
}

TEST(ZipDamage, StoredCrcThatDoesNotMatchTheDataFails) {
  // Both headers agree, but on the wrong CRC-32: only the comparison at the
  // end of the entry catches it.
  package::CZipWriter writer;
  const std::vector<std::uint8_t> data = zip_test::textBytes(20000);
  const std::vector<std::uint8_t> deflated = package::deflateRaw(data.data(), data.size());
  const std::uint32_t crc = package::crc32Of(data.data(), data.size());
  writer.addRaw("wrong crc.txt", 8, deflated.data(), deflated.size(), crc ^ 0x100, 20000, 0x00210000);
  TRefPtr<zip::CZIPFile> archive = zip_test::open(writer.finish());
  ASSERT_TRUE(archive);
  ASSERT_EQ(archive->firstEntry(), zip::kOk);
  CVectorSink sink;
  EXPECT_FALSE(archive->extractCurrent(&sink, nullptr, nullptr));
  EXPECT_EQ(sink.bytes.size(), data.size());
}

TEST(ZipDamage, DirectorySizeSmallerThanTheDataFails) {
  package::CZipWriter writer;
  const std::vector<std::uint8_t> data = zip_test::textBytes(20000);
  const std::vector<std::uint8_t> deflated = package::deflateRaw(data.data(), data.size());
  const std::uint32_t crc = package::crc32Of(data.data(), data.size());
  writer.addRaw("short.txt", 8, deflated.data(), deflated.size(), crc, 12000, 0x00210000);
  TRefPtr<zip::CZIPFile> archive = zip_test::open(writer.finish());
  ASSERT_TRUE(archive);
  ASSERT_EQ(archive->firstEntry(), zip::kOk);
  EXPECT_FALSE(archive->extractCurrent(static_cast<zip::XExtractSink*>(nullptr), nullptr, nullptr));
}

TEST(ZipLocate, ExactAndAsciiCaseInsensitiveModes) {
  TRefPtr<zip::CZIPFile> archive = zip_test::open(zip_test::archiveOf({
      {"first.txt", {1}},
      {"Dir/Setup Files/Name.DLL", {2}},
      {"\xc9t\xe9.txt", {3}},  // 8-bit letters: no case folding for these
  }));
  ASSERT_TRUE(archive);
  zip::CEntryInfo info;

  EXPECT_EQ(archive->locateEntry("dir/setup files/name.dll", zip::NameCompare::Exact), zip::kEndOfList);
  ASSERT_EQ(archive->locateEntry("dir/setup files/name.dll", zip::NameCompare::IgnoreAsciiCase), zip::kOk);
  ASSERT_TRUE(archive->currentEntry(info));
  EXPECT_EQ(info.name, "Dir/Setup Files/Name.DLL");

  ASSERT_EQ(archive->locateEntry("Dir/Setup Files/Name.DLL", zip::NameCompare::Exact), zip::kOk);
  EXPECT_EQ(archive->locateEntry("\xe9t\xe9.txt", zip::NameCompare::IgnoreAsciiCase), zip::kEndOfList);
  ASSERT_EQ(archive->locateEntry("\xc9T\xe9.TXT", zip::NameCompare::IgnoreAsciiCase), zip::kOk);

  // A failed search leaves the position where it was.
  ASSERT_EQ(archive->locateEntry("FIRST.TXT", zip::NameCompare::IgnoreAsciiCase), zip::kOk);
  EXPECT_EQ(archive->locateEntry("missing.txt", zip::NameCompare::IgnoreAsciiCase), zip::kEndOfList);
  ASSERT_TRUE(archive->currentEntry(info));
  EXPECT_EQ(info.name, "first.txt");
  CVectorSink sink;
  ASSERT_TRUE(archive->extractCurrent(&sink, nullptr, nullptr));
  EXPECT_EQ(sink.bytes, std::vector<std::uint8_t>{1});
}

TEST(ZipLocate, NamesOf256BytesOrWithZeroBytesAreRefused) {
  const std::string longest(255, 'x');
  TRefPtr<zip::CZIPFile> archive = zip_test::open(zip_test::archiveOf({{longest, {1}}, {"a", {2}}}));
  ASSERT_TRUE(archive);
  EXPECT_EQ(archive->locateEntry(longest, zip::NameCompare::Exact), zip::kOk);
  EXPECT_EQ(archive->locateEntry(longest + "x", zip::NameCompare::Exact), zip::kParamError);
  EXPECT_EQ(archive->locateEntry(std::string_view("a\0b", 3), zip::NameCompare::Exact), zip::kParamError);
}

}  // namespace
