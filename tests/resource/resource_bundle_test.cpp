// The bundle's record walk, its name index and the markup loader.
#include <gtest/gtest.h>

#include "app/exception.h"
#include "resource/bundle_records.h"
#include "resource/resource_bundle.h"
#include "resource/bundle_test_support.h"
#include "support/thrown_member.h"

namespace {

std::vector<CBundleRecord> walk(const std::vector<std::uint8_t>& block, std::size_t size) {
  std::vector<CBundleRecord> records;
  walkBundleRecords(block.data(), size, [&records](const CBundleRecord& r) { records.push_back(r); });
  return records;
}

std::string bytesOf(const CBundleRecord& record) {
  return std::string(reinterpret_cast<const char*>(record.data), record.size);
}

TEST(BundleRecords, WalkReadsWhatWasWritten) {
  const std::vector<std::uint8_t> block = makeBundleBlock({{"a.txt", "alpha"}, {"empty", ""}, {"dlg/x.xml", "<x/>"}});
  ASSERT_EQ(block.size(), 3 * kBundleRecordHeader + 5 + 0 + 4);
  const std::vector<CBundleRecord> records = walk(block, block.size());
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].name, u"a.txt");
  EXPECT_EQ(bytesOf(records[0]), "alpha");
  EXPECT_EQ(records[1].name, u"empty");
  EXPECT_EQ(records[1].size, 0u);
  EXPECT_EQ(records[2].name, u"dlg/x.xml");
  EXPECT_EQ(bytesOf(records[2]), "<x/>");
  // The header's fields sit where the find-data layout has them.
  EXPECT_EQ(block[kBundleSizeOffset], 5);
  EXPECT_EQ(block[kBundleNameOffset], 'a');
  EXPECT_EQ(block[kBundleNameOffset + 1], 0);
}

TEST(BundleRecords, WalkStopsAtARecordThatRunsPastTheEnd) {
  const std::vector<std::uint8_t> block = makeBundleBlock({{"one", "1111"}, {"two", "2222"}});
  const std::size_t whole = block.size();
  struct Case {
    std::size_t size;
    std::size_t records;
  } cases[] = {
      {whole, 2},
      {whole - 1, 1},                           // the second file's last byte is missing
      {kBundleRecordHeader + 4 + kBundleRecordHeader, 1},  // a header without its data
      {kBundleRecordHeader + 4 + kBundleRecordHeader - 1, 1},  // less than a header left
      {kBundleRecordHeader + 3, 0},
      {kBundleRecordHeader - 1, 0},
      {0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(walk(block, c.size).size(), c.records) << "block of " << c.size << " bytes";
  }
}

TEST(BundleRecords, HugeSizeFieldDoesNotWrapAround) {
  std::vector<std::uint8_t> block = makeBundleBlock({{"big", "x"}});
  for (int n = 0; n < 4; ++n) {
    block[kBundleSizeOffset + n] = 0xFF;
  }
  EXPECT_TRUE(walk(block, block.size()).empty());
}

TEST(BundleRecords, NameWithoutTerminatorEndsWithItsField) {
  std::vector<std::uint8_t> block(kBundleRecordHeader, 0);
  for (std::size_t n = 0; n < kBundleNameUnits; ++n) {
    block[kBundleNameOffset + 2 * n] = 'n';
  }
  const std::vector<CBundleRecord> records = walk(block, block.size());
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].name, std::u16string(kBundleNameUnits, u'n'));
}

TEST(BundleRecords, AppendRefusesNamesThatDoNotFit) {
  struct CCase {
    std::u16string name;
    std::wstring text;
  };
  const CCase cases[] = {
      {u"", L"A bundle file name must have 1 to 259 characters"},
      {std::u16string(kBundleNameUnits, u'a'), L"A bundle file name must have 1 to 259 characters"},
      {std::u16string(u"a\0b", 3), L"A bundle file name must not contain a zero character"},
  };
  std::vector<std::uint8_t> block;
  for (const CCase& c : cases) {
    EXPECT_TRUE(throwsMember<XExceptionArgument>([&] { appendBundleRecord(block, c.name, "", 0); }, c.text))
        << "a name of " << c.name.size() << " units";
  }
  EXPECT_TRUE(block.empty());
  appendBundleRecord(block, std::u16string(kBundleNameUnits - 1, u'a'), "", 0);
  EXPECT_EQ(walk(block, block.size()).at(0).name.size(), kBundleNameUnits - 1);
}

class ResourceIndex : public CBundleFixture {};

TEST_F(ResourceIndex, FindsNamesExactlyIncludingCase) {
  useBundle({{"img/Logo.png", "png"}, {"dlg/page.xml", "<dialog/>"}});
  const std::optional<CResourceBytes> found = findResource("img/Logo.png");
  ASSERT_TRUE(found);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(found->data), found->size), "png");
  EXPECT_FALSE(findResource("img/logo.png"));
  EXPECT_FALSE(findResource("IMG/Logo.png"));
  EXPECT_FALSE(findResource("img\\Logo.png"));
  EXPECT_FALSE(findResource("Logo.png"));
}

TEST_F(ResourceIndex, LaterRecordOfTheSameNameWins) {
  useBundle({{"a", "first"}, {"b", "other"}, {"a", "second"}});
  const std::optional<CResourceBytes> found = findResource("a");
  ASSERT_TRUE(found);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(found->data), found->size), "second");
}

TEST_F(ResourceIndex, LoadsMarkupAndNamesWhatIsMissing) {
  useBundle({{"dlg/page.xml", "<dialog title=\"T\"><text/></dialog>"}, {"dlg/bad.xml", "<dialog>"}});
  const XmlDocumentPtr document = loadXmlResource("dlg/page.xml");
  const XmlNodePtr root = documentElement(document);
  ASSERT_TRUE(root);
  EXPECT_EQ(root->text, L"dialog");
  EXPECT_EQ(getAttribute(root, L"title"), L"T");
  try {
    loadXmlResource("dlg/Page.xml");
    FAIL() << "a name in other letter case was found";
  } catch (const XExceptionResource& e) {
    EXPECT_EQ(e.getText(), L"Resource not found: dlg/Page.xml");
  }
  // A broken document fails as the parser fails, not as a missing resource.
  EXPECT_ANY_THROW(loadXmlResource("dlg/bad.xml"));
}

TEST(HighResolutionName, InsertsTheSuffixBeforeTheExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"img/setup-logo.png", "img/setup-logo-x2.png"},
      {"logo.png", "logo-x2.png"},
      {"img/logo.old.png", "img/logo.old-x2.png"},
      {"img/logo", "img/logo-x2"},
      {"logo", "logo-x2"},
      {"img.hd/logo", "img.hd/logo-x2"},
      {"img.hd/logo.png", "img.hd/logo-x2.png"},
      {".png", "-x2.png"},
      {"", "-x2"},
  };
  for (const auto& [name, expected] : cases) {
    EXPECT_EQ(highResolutionName(name), expected) << name;
  }
}

}  // namespace
