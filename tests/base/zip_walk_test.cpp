// The package as a whole: its digest, and the walk that refuses a central
// directory which does not hold together.  Damage is made by hand in the
// bytes the writer produced.
#include "base/zip_entry_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <functional>
#include <string>

#include "base/zip_digest.h"
#include "base/zip_source.h"
#include "base/zip_test_support.h"

namespace {

using CBytes = std::vector<std::uint8_t>;

const std::vector<zip_test::CFile>& threeFiles() {
  static const std::vector<zip_test::CFile> files = {
      {"Brantel.exe", zip_test::noiseBytes(3000, 1)},
      {"bin/tool.dll", zip_test::textBytes(9000, 2)},
      {"docs/Read Me.txt", zip_test::textBytes(500, 3)},
  };
  return files;
}

constexpr std::uint8_t kCentralSignature[] = {'P', 'K', 1, 2};
constexpr std::size_t kCentralNameOffset = 46;
constexpr std::size_t kEndCountOffsets[] = {8, 10};  // on this disk, in all

// Offset of the central directory entry `index` (from 0).
std::size_t centralEntry(const CBytes& archive, std::size_t index) {
  std::size_t at = 0;
  for (std::size_t seen = 0;; ++seen, ++at) {
    at = zip_test::find(CBytes(archive.begin() + static_cast<std::ptrdiff_t>(at), archive.end()),
                        CBytes(std::begin(kCentralSignature), std::end(kCentralSignature))) + at;
    if (seen == index) {
      return at;
    }
  }
}

std::size_t endRecord(const CBytes& plainArchive) { return plainArchive.size() - zip::kEndRecordSize; }

void addToCounts(CBytes& plainArchive, int delta) {
  for (std::size_t field : kEndCountOffsets) {
    std::uint8_t& count = plainArchive[endRecord(plainArchive) + field];
    count = static_cast<std::uint8_t>(count + delta);
  }
}

struct CWalked {
  std::vector<std::string> names;
  zip::WalkStep last = zip::WalkStep::Entry;
};

CWalked walkAll(zip::CZIPFileBase& archive) {
  CWalked walked;
  zip::CEntryWalk walk(archive);
  zip::CEntryInfo entry;
  while ((walked.last = walk.next(entry)) == zip::WalkStep::Entry) {
    walked.names.push_back(entry.name);
  }
  return walked;
}

TEST(ZipWalk, AnIntactPackageWalksEveryEntryToTheEnd) {
  TRefPtr<zip::CZIPFile> archive = zip_test::open(zip_test::archiveOf(threeFiles()));
  ASSERT_TRUE(archive);
  const CWalked walked = walkAll(*archive);
  EXPECT_EQ(walked.last, zip::WalkStep::End);
  EXPECT_EQ(walked.names, (std::vector<std::string>{"Brantel.exe", "bin/tool.dll", "docs/Read Me.txt"}));
  // The walk leaves every entry extractable, and ends for good.
  zip::CEntryWalk walk(*archive);
  zip::CEntryInfo entry;
  ASSERT_EQ(walk.next(entry), zip::WalkStep::Entry);
  zip_test::CVectorSink sink;
  EXPECT_TRUE(archive->extractCurrent(&sink, nullptr, nullptr));
  EXPECT_EQ(sink.bytes, threeFiles()[0].bytes);
  while (walk.next(entry) == zip::WalkStep::Entry) {
  }
  EXPECT_EQ(walk.next(entry), zip::WalkStep::End);

  // Without entries: the end at once (behind a stub, see ZipArchive).
  CBytes empty(16, 0);
  const CBytes bare = zip_test::plainArchiveOf({});
  empty.insert(empty.end(), bare.begin(), bare.end());
  TRefPtr<zip::CZIPFile> none = zip_test::open(zip_test::sealed(empty));
  ASSERT_TRUE(none);
  EXPECT_EQ(walkAll(*none).last, zip::WalkStep::End);
  EXPECT_TRUE(none->hasValidDigest()) << "the digest covers the stub as well";
}

struct CDirectoryDamage {
  const char* what;
  std::function<void(CBytes& plainArchive)> damage;
};

// Each of these once made the reader's own walk end early, as if the list
// had ended, or hand on a name the local header does not hold.  The digest
// is recorded after the damage, so only the walk can catch it.
TEST(ZipWalk, ADirectoryThatDoesNotHoldTogetherIsDamaged) {
  const std::vector<CDirectoryDamage> cases = {
      {"a central name differs from its local header's",
       [](CBytes& a) { a[centralEntry(a, 1) + kCentralNameOffset + 4] ^= 0x01; }},
      {"a local name differs from its central entry's",
       [](CBytes& a) { a[zip_test::find(a, {'d', 'o', 'c', 's', '/'})] = 'D'; }},
      {"the end record counts one entry less", [](CBytes& a) { addToCounts(a, -1); }},
      {"the end record counts one entry more", [](CBytes& a) { addToCounts(a, +1); }},
      {"a central entry's signature is broken", [](CBytes& a) { a[centralEntry(a, 2) + 3] ^= 0x40; }},
      {"a central entry's name is one byte longer",
       [](CBytes& a) { a[centralEntry(a, 1) + 28] = static_cast<std::uint8_t>(a[centralEntry(a, 1) + 28] + 1); }},
      {"a central entry points at another local header",
       [](CBytes& a) {
         const std::size_t offsetField = centralEntry(a, 2) + 42;
         std::memcpy(&a[offsetField], &a[centralEntry(a, 1) + 42], 4);
       }},
  };
  for (const CDirectoryDamage& c : cases) {
    CBytes plain = zip_test::plainArchiveOf(threeFiles());
    c.damage(plain);
    TRefPtr<zip::CZIPFile> archive = zip_test::open(zip_test::sealed(plain));
    ASSERT_TRUE(archive) << c.what;
    EXPECT_TRUE(archive->hasValidDigest()) << c.what;
    EXPECT_EQ(walkAll(*archive).last, zip::WalkStep::Damaged) << c.what;
  }
}

TEST(ZipDigest, EveryChangedByteFailsTheDigest) {
  const CBytes archive = zip_test::archiveOf({{"a.txt", zip_test::textBytes(300, 4)}, {"b/c.bin", {1, 2, 3}}});
  TRefPtr<zip::CZIPFile> intact = zip_test::open(archive);
  ASSERT_TRUE(intact);
  ASSERT_TRUE(intact->hasValidDigest());
  // The comment: the prefix and 32 lower-case hexadecimal digits, after an
  // end record whose comment length says so.
  const std::string comment(archive.end() - static_cast<std::ptrdiff_t>(zip::kDigestCommentSize), archive.end());
  EXPECT_EQ(comment.substr(0, 4), "md5:");
  EXPECT_EQ(comment.find_first_not_of("0123456789abcdef", 4), std::string::npos) << comment;
  EXPECT_EQ(archive[archive.size() - zip::kDigestCommentSize - 2], zip::kDigestCommentSize);

  std::size_t opened = 0;
  for (std::size_t at = 0; at < archive.size(); ++at) {
    CBytes damaged = archive;
    damaged[at] ^= 0x20;
    TRefPtr<zip::CZIPFile> changed = zip_test::open(damaged);
    if (changed) {
      ++opened;
      EXPECT_FALSE(changed->hasValidDigest()) << "byte " << at << " of " << archive.size();
    }
  }
  EXPECT_GT(opened, archive.size() / 2) << "most damage still opens: the digest is what refuses it";
}

TEST(ZipDigest, APackageWithoutAValidDigestIsRefused) {
  const CBytes plain = zip_test::plainArchiveOf(threeFiles());
  const CBytes sealedArchive = zip_test::sealed(plain);
  struct CCase {
    const char* what;
    CBytes bytes;
    zip::WalkStep walk;  // the digest aside, the entries still walk
  };
  CBytes appended = sealedArchive;
  appended.push_back('0');
  CBytes otherComment = sealedArchive;
  std::fill(otherComment.end() - static_cast<std::ptrdiff_t>(zip::kDigestCommentSize), otherComment.end(), 'a');
  CBytes upperCase = sealedArchive;
  for (std::size_t at = upperCase.size() - 32; at < upperCase.size(); ++at) {
    upperCase[at] = static_cast<std::uint8_t>(std::toupper(upperCase[at]));
  }
  const CCase cases[] = {
      {"no comment at all", plain, zip::WalkStep::End},
      // The end record is no longer where its comment says it is.
      {"a byte after the comment", appended, zip::WalkStep::Damaged},
      {"a comment of the right length that is no digest", otherComment, zip::WalkStep::End},
      {"the digits in upper case", upperCase, zip::WalkStep::End},
  };
  for (const CCase& c : cases) {
    TRefPtr<zip::CZIPFile> archive = zip_test::open(c.bytes);
    ASSERT_TRUE(archive) << c.what;
    EXPECT_FALSE(archive->hasValidDigest()) << c.what;
    EXPECT_EQ(walkAll(*archive).last, c.walk) << c.what;
  }
  // Sealing is for an archive without a comment, once.
  CBytes again = sealedArchive;
  EXPECT_FALSE(zip::sealArchive(again));
  EXPECT_EQ(again, sealedArchive);
  CBytes tooShort(10, 0);
  EXPECT_FALSE(zip::sealArchive(tooShort));
}

}  // namespace
