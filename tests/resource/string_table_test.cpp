// The string table: its keys, its text rules, its errors and the lookup.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <cwchar>
#include <vector>

#include "app/exception.h"
#include "resource/bundle_test_support.h"
#include "base/stream_in_memory.h"
#include "resource/string_table.h"
#include "xml/xml_parser.h"

namespace {

// The name key computed straight from its definition, over zlib's own CRC-32
// table rather than the one the program builds.
CStringKey referenceNameKey(const std::string& name) {
  const z_crc_t* table = get_crc_table();
  std::string fed = name + std::string("\xBB\x00\x40\x91\x05\xD9\x01", 7);
  fed.push_back(static_cast<char>(name.size() % 256));
  CStringKey key;
  std::uint32_t h = 0xBD045D73u;
  for (std::size_t n = 0; n < fed.size(); ++n) {
    h = (h >> 8) ^ static_cast<std::uint32_t>(table[(h ^ static_cast<unsigned char>(fed[n])) & 0xFF]);
    key.words[n % 4] ^= h;
  }
  return key;
}

CStringTable tableOf(const std::string& xml) {
  XStreamInMemory stream(xml.data(), xml.size());
  CStringTable table;
  readStringTable(parseDocument(stream), table);
  return table;
}

std::wstring entry(const CStringTable& table, const CStringKey& key) {
  const std::wstring* text = table.find(key);
  return text ? *text : L"<missing>";
}

CStringKey numberKey(std::uint32_t n) {
  CStringKey key;
  key.words[0] = n;
  return key;
}

TEST(StringKeys, NameKeyFollowsTheFold) {
  for (const std::string& name : std::vector<std::string>{"", "a", "xbutton.ok", "page.welcome.title", std::string(300, 'z')}) {
    EXPECT_EQ(stringNameKey(name), referenceNameKey(name)) << name;
  }
  EXPECT_NE(stringNameKey("Next"), stringNameKey("next"));
  // The length byte of the tail tells a name from the same name padded with zeros.
  EXPECT_NE(stringNameKey(std::string("a")), stringNameKey(std::string("a\0", 2)));
}

TEST(StringKeys, IdFormsAndTheirKeys) {
  const CStringKey guid = *stringIdKey(L"{0B5F3A11-2C4D-4E6F-8091-A2B3C4D5E6F7}");
  EXPECT_EQ(guid.words[0], 0x0B5F3A11u);
  EXPECT_EQ(guid.words[1], 0x4E6F2C4Du);
  EXPECT_EQ(guid.words[2], 0xB3A29180u);
  EXPECT_EQ(guid.words[3], 0xF7E6D5C4u);
  EXPECT_EQ(stringIdKey(L"0b5f3a11-2c4d-4e6f-8091-a2b3c4d5e6f7"), guid);

  const std::pair<const wchar_t*, CStringKey> cases[] = {
      {L"12", numberKey(12)},
      {L"0x0C", numberKey(12)},
      {L"0Xc", numberKey(12)},
      {L"4294967297", numberKey(1)},  // wraps at 32 bits
      {L"0x100000002", numberKey(2)},
      {L"-12", stringNameKey("-12")},  // no sign: a name
      {L"12a", stringNameKey("12a")},
      {L"0x", stringNameKey("0x")},
      {L"0xG", stringNameKey("0xG")},
      {L"{0B5F3A11-2C4D-4E6F-8091-A2B3C4D5E6F7", stringNameKey("{0B5F3A11-2C4D-4E6F-8091-A2B3C4D5E6F7")},
      {L"button next", stringNameKey("button next")},
      {L"\x7F", stringNameKey("\x7F")},
  };
  for (const auto& [id, key] : cases) {
    EXPECT_EQ(stringIdKey(id), key) << std::string(id, id + std::wcslen(id));
  }
  EXPECT_FALSE(stringIdKey(L"caf\u00E9"));
  EXPECT_FALSE(stringIdKey(L"tab\there"));
}

TEST(StringTableFile, NumbersOfOneValueShareAKeyAndTheLastWins) {
  const CStringTable table = tableOf(
      "<stringtable><s id=\"12\">decimal</s><s id=\"0x0C\">hex</s><s id=\" 0Xc \">last</s></stringtable>");
  EXPECT_EQ(table.size(), 1u);
  EXPECT_EQ(entry(table, numberKey(12)), L"last");
}

TEST(StringTableFile, GuidWithAndWithoutBracesIsOneKey) {
  const CStringTable table = tableOf(
      "<stringtable><s id=\"{0B5F3A11-2C4D-4E6F-8091-A2B3C4D5E6F7}\">braced</s>"
      "<s id=\"0b5f3a11-2c4d-4e6f-8091-a2b3c4d5e6f7\">bare</s></stringtable>");
  EXPECT_EQ(table.size(), 1u);
  EXPECT_EQ(entry(table, *stringIdKey(L"0B5F3A11-2C4D-4E6F-8091-A2B3C4D5E6F7")), L"bare");
}

TEST(StringTableFile, TextRules) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"\n    first\n    second\n  ", L"first\nsecond"},
      {L"  word  ", L"  word  "},
      {L"one\r\ntwo", L"one\ntwo"},
      {L"\r\n\t  a\r\n\t  b\r\n", L"a\nb"},
      {L"  \t\n x\n\n   y \n", L"\t\nx\n\ny"},  // a tab at an end stays, blank lines stay
      {L"\n\t\n", L""},
      {L"lone\rreturn", L"lone\rreturn"},
      {L"a\r\r\nb", L"a\r\nb"},  // one pass: the CR before the pair stays
      {L"a &amp; b", L"a &amp; b"},
  };
  for (const auto& [raw, expected] : cases) {
    EXPECT_EQ(stringEntryText(raw), expected);
  }
}

TEST(StringTableFile, EntriesThatAreNotEntriesAreIgnored) {
  const CStringTable table = tableOf(
      "<stringtable><s>no id</s><p id=\"p\">other element</p><s id=\"empty\"/>"
      "<s id=\"child\"><b>x</b>after</s><s id=\"ok\">kept</s><S id=\"upper\">case</S></stringtable>");
  EXPECT_EQ(table.size(), 1u);
  EXPECT_EQ(entry(table, stringNameKey("ok")), L"kept");
}

TEST(StringTableFile, ErrorsNameTheTableAndKeepEarlierEntries) {
  struct Case {
    const char* xml;
    const wchar_t* message;
    std::size_t entriesKept;
  } cases[] = {
      {"<strings><s id=\"a\">x</s></strings>", L"Invalid string table: strings/default.xml", 0},
      {"", L"Invalid string table: strings/default.xml", 0},
      {"<stringtable><s id=\"a\">x</s><s id=\"  \">y</s><s id=\"b\">z</s></stringtable>",
       L"Invalid unnamed entry in string table: strings/default.xml", 1},
      {"<stringtable><s id=\"a\">x</s><s id=\" caf\xC3\xA9 \">y</s></stringtable>",
       L"Invalid entry \"caf\u00E9\" in string table: strings/default.xml", 1},
  };
  for (const auto& [xml, message, entriesKept] : cases) {
    XStreamInMemory stream(xml, std::strlen(xml));
    CStringTable table;
    try {
      readStringTable(parseDocument(stream), table);
      ADD_FAILURE() << xml;
    } catch (const XExceptionResource& e) {
      EXPECT_EQ(e.getText(), message);
    }
    ASSERT_EQ(table.size(), entriesKept) << xml;
    if (entriesKept == 1) {
      EXPECT_EQ(entry(table, stringNameKey("a")), L"x");
    }
  }
}

class StringLookup : public CBundleFixture {};

TEST_F(StringLookup, NamesDefaultsAndMissingNames) {
  useStringTable(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<stringtable>\n"
      "  <s id=\"xbutton.ok\">OK</s>\n  <s id=\"page.text\">Gr\xC3\xBC\xC3\x9F" "e</s>\n</stringtable>\n");
  EXPECT_EQ(lookupString("xbutton.ok"), L"OK");
  EXPECT_EQ(lookupString(std::wstring_view(L"page.text")), L"Gr\u00FC\u00DFe");
  EXPECT_EQ(lookupString("xbutton.OK", L"fallback"), L"fallback");
  EXPECT_EQ(lookupString("xbutton.ok", L"fallback"), L"OK");
  try {
    lookupString("nothing.here");
    FAIL();
  } catch (const XExceptionResourceString& e) {
    EXPECT_EQ(e.getText(), L"Resource string not found: nothing.here");
  }
}

TEST_F(StringLookup, MissingTableFailsOnceThenLooksUpNothing) {
  useBundle({{"strings/other.xml", "<stringtable/>"}});
  try {
    lookupString("a", L"d");
    FAIL();
  } catch (const XExceptionResource& e) {
    EXPECT_EQ(e.getText(), L"Resource not found: strings/default.xml");
  }
  // A failed load is not tried again: later lookups see an empty table.
  EXPECT_EQ(lookupString("a", L"d"), L"d");
  EXPECT_THROW(lookupString("a"), XExceptionResourceString);
}

TEST_F(StringLookup, BadEntryKeepsTheEntriesBeforeIt) {
  useStringTable("<stringtable><s id=\"before\">1</s><s id=\"\">bad</s><s id=\"after\">2</s></stringtable>");
  EXPECT_THROW(lookupString("before"), XExceptionResource);
  EXPECT_EQ(lookupString("before"), L"1");
  EXPECT_EQ(lookupString("after", L"none"), L"none");
}

TEST_F(StringLookup, ANewBundleReadsItsOwnTable) {
  useStringTable("<stringtable><s id=\"a\">first</s></stringtable>");
  EXPECT_EQ(lookupString("a"), L"first");
  useStringTable("<stringtable><s id=\"a\">second</s></stringtable>");
  EXPECT_EQ(lookupString("a"), L"second");
}

}  // namespace
