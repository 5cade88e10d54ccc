#include "base/guid.h"
#include "base/integer.h"
#include "base/path_join.h"
#include "base/utf8.h"
#include "base/version.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

using testing::PrintToString;

TEST(ParseInteger, Rules) {
  struct {
    const wchar_t* text;
    std::optional<std::int32_t> value;
  } const cases[] = {
      {L"0x1F", 31},
      {L"0X1f", 31},
      {L"0x", 0},
      {L"0xFFFFFFFF", -1},
      {L"0x100000001", 1},  // wraps at 32 bits
      {L"-12", -12},
      {L"-", 0},
      {L"0", 0},
      {L"007", 7},
      {L"2147483647", INT32_MAX},
      {L"-2147483648", INT32_MIN},
      {L"4294967295", -1},  // decimals wrap like hexadecimals
      {L"12a", std::nullopt},
      {L" 12", std::nullopt},
      {L"12 ", std::nullopt},
      {L"+3", std::nullopt},
      {L"", std::nullopt},
      {L"0x1G", std::nullopt},
      {L"0x 1", std::nullopt},
      {L"-0x1", std::nullopt},
      {L"--1", std::nullopt},
      {L"1-", std::nullopt},
      {L"x1", std::nullopt},
      {L"\uFF11", std::nullopt},  // a full-width digit is no digit
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parseInteger(c.text), c.value) << PrintToString(std::wstring(c.text));
  }
}

TEST(ParseVersion, Rules) {
  struct {
    const wchar_t* text;
    std::optional<CVersion> version;
  } const cases[] = {
      {L"10.0.2.1", CVersion{10, 0, 2, 1}},
      {L" 1 . 2 .\t3. 4 ", CVersion{1, 2, 3, 4}},
      {L"0x10.0.0.-1", CVersion{16, 0, 0, 0xFFFFFFFFu}},
      {L"4294967295.0.0.0", CVersion{0xFFFFFFFFu, 0, 0, 0}},
      {L"1.2.3", std::nullopt},
      {L"1.2.3.4.5", std::nullopt},
      {L"1..2.3", std::nullopt},  // an empty part is no number
      {L"1.2.3.", std::nullopt},
      {L".1.2.3", std::nullopt},
      {L"1.2. .4", std::nullopt},
      {L"1.2.3.4a", std::nullopt},
      {L"1.2.+3.4", std::nullopt},
      {L"", std::nullopt},
  };
  for (const auto& c : cases) {
    const auto parsed = parseVersion(c.text);
    ASSERT_EQ(parsed.has_value(), c.version.has_value()) << PrintToString(std::wstring(c.text));
    if (parsed) {
      EXPECT_EQ(formatVersion(*parsed), formatVersion(*c.version)) << PrintToString(std::wstring(c.text));
      EXPECT_TRUE(*parsed == *c.version);
    }
  }
}

TEST(FormatVersion, SignedDecimalsWithoutPadding) {
  EXPECT_EQ(formatVersion(CVersion{10, 0, 2, 1}), L"10.0.2.1");
  EXPECT_EQ(formatVersion(CVersion{0xFFFFFFFFu, 0x80000000u, 0, 7}), L"-1.-2147483648.0.7");
  // What is written reads back as the same four numbers.
  const CVersion odd{0xFFFFFFFFu, 0x80000000u, 123456789, 0x7FFFFFFFu};
  EXPECT_TRUE(parseVersion(formatVersion(odd)) == odd);
}

TEST(CompareVersions, ComponentsAsSigned32BitNumbers) {
  struct {
    CVersion a;
    CVersion b;
    int order;
  } const cases[] = {
      {{1, 2, 3, 4}, {1, 2, 3, 4}, 0},
      {{1, 2, 3, 4}, {1, 2, 3, 5}, -1},
      {{1, 2, 4, 0}, {1, 2, 3, 9}, 1},
      {{2, 0, 0, 0}, {1, 9, 9, 9}, 1},
      {{0, 10, 0, 0}, {0, 9, 0, 0}, 1},
      {{0x80000000u, 0, 0, 0}, {1, 0, 0, 0}, -1},  // negative as signed
      {{0xFFFFFFFFu, 0, 0, 0}, {0, 0, 0, 0}, -1},
      {{1, 0x7FFFFFFFu, 0, 0}, {1, 0x80000000u, 0, 0}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(PrintToString(formatVersion(c.a)) + " vs " + PrintToString(formatVersion(c.b)));
    const int forward = compareVersions(c.a, c.b);
    const int backward = compareVersions(c.b, c.a);
    EXPECT_EQ((forward > 0) - (forward < 0), c.order);
    EXPECT_EQ((backward > 0) - (backward < 0), -c.order);
  }
}

const CGuid kSample{0x01234567, 0x89AB, 0xCDEF, {0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10}};

// Both forms of parseGuid follow the same rules, so every case runs through
// both: the wide text and its 8-bit copy.
void expectGuidParse(const std::string& text, const std::optional<CGuid>& expected) {
  SCOPED_TRACE(text);
  const std::wstring wide(text.begin(), text.end());
  const auto fromWide = parseGuid(std::wstring_view(wide));
  const auto fromNarrow = parseGuid(std::string_view(text));
  ASSERT_EQ(fromWide.has_value(), expected.has_value());
  ASSERT_EQ(fromNarrow.has_value(), expected.has_value());
  if (expected) {
    EXPECT_TRUE(*fromWide == *expected);
    EXPECT_TRUE(*fromNarrow == *expected);
  }
}

TEST(ParseGuid, AcceptedForms) {
  expectGuidParse("{01234567-89AB-CDEF-FEDC-BA9876543210}", kSample);
  expectGuidParse("01234567-89AB-CDEF-FEDC-BA9876543210", kSample);
  expectGuidParse("01234567-89ab-cdef-fedc-ba9876543210", kSample);
  expectGuidParse("{01234567-89aB-CdEf-FeDc-bA9876543210}", kSample);
  expectGuidParse("00000000-0000-0000-0000-000000000000", CGuid{});
}

TEST(ParseGuid, RejectedForms) {
  const char* const rejected[] = {
      "{01234567-89AB-CDEF-FEDC-BA9876543210",    // opening brace only
      "01234567-89AB-CDEF-FEDC-BA9876543210}",    // closing brace only
      "{01234567-89AB-CDEF-FEDC-BA9876543210}x",  // trailing text
      "01234567-89AB-CDEF-FEDC-BA9876543210 ",
      " 01234567-89AB-CDEF-FEDC-BA9876543210",
      "01234567-89AB-CDEF-FEDCBA9876543210",      // a dash missing
      "01234567-89AB-CDEF-FE-DCBA9876543210",     // a dash misplaced
      "0123456-89AB-CDEF-FEDC-BA9876543210",      // a group too short
      "01234567-89AB-CDEF-FEDC-BA987654321",
      "01234567-89AB-CDEF-FEDC-BA98765432101",    // a group too long
      "01234567-89AB-CDEF-FEDC-BA987654321G",     // no hexadecimal digit
      "01234567-89AB-CDEF-FEDC-BA98765432\xC3\xA9",
      "{{01234567-89AB-CDEF-FEDC-BA9876543210}}",
      "{}",
      "",
  };
  for (const char* text : rejected) {
    expectGuidParse(text, std::nullopt);
  }
}

TEST(FormatGuid, Styles) {
  EXPECT_EQ(formatGuid(kSample, GuidStyle::BracedUpper), L"{01234567-89AB-CDEF-FEDC-BA9876543210}");
  EXPECT_EQ(formatGuid(kSample, GuidStyle::Upper), L"01234567-89AB-CDEF-FEDC-BA9876543210");
  EXPECT_EQ(formatGuid(kSample, GuidStyle::BracedLower), L"{01234567-89ab-cdef-fedc-ba9876543210}");
  EXPECT_EQ(formatGuid(kSample, GuidStyle::Lower), L"01234567-89ab-cdef-fedc-ba9876543210");
  EXPECT_EQ(formatGuid(CGuid{0xA, 0xB, 0xC, {0, 1, 2, 3, 4, 5, 6, 7}}, GuidStyle::Upper),
            L"0000000A-000B-000C-0001-020304050607");
}

TEST(JoinPath, ExactlyOneSeparator) {
  struct {
    const wchar_t* folder;
    const wchar_t* name;
    const wchar_t* path;
  } const cases[] = {
      {L"C:\\Program Files\\", L"\\Brantel", L"C:\\Program Files\\Brantel"},
      {L"C:\\Program Files/", L"\\Brantel", L"C:\\Program Files\\Brantel"},
      {L"C:\\Program Files", L"Brantel", L"C:\\Program Files\\Brantel"},
      {L"C:\\a\\/\\", L"/\\:b\\c", L"C:\\a\\b\\c"},
      {L"dir", L"sub/file.txt", L"dir\\sub/file.txt"},  // inner separators stay
      {L"dir", L":stream", L"dir\\stream"},
      {L"dir", L"", L"dir\\"},
      {L"", L"name", L"\\name"},
      {L"\\\\", L"\\\\", L"\\"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(joinPath(c.folder, c.name), c.path)
        << PrintToString(std::wstring(c.folder)) << " + " << PrintToString(std::wstring(c.name));
  }
}

// A wide text made of explicit UTF-16 code units, the same in both trees.
std::wstring units(std::initializer_list<char16_t> codeUnits) {
  std::wstring text;
  for (char16_t unit : codeUnits) {
    text += static_cast<wchar_t>(unit);
  }
  return text;
}

TEST(ToUtf8, AsThePlatformConverts) {
  struct {
    std::wstring text;
    std::string utf8;
  } const cases[] = {
      {units({}), ""},
      {units({u'A', u'z'}), "Az"},
      {units({0x00E9}), "\xC3\xA9"},
      {units({0x07FF, 0x0800}), "\xDF\xBF\xE0\xA0\x80"},
      {units({0x20AC}), "\xE2\x82\xAC"},
      {units({0xFFFD, 0xFFFF}), "\xEF\xBF\xBD\xEF\xBF\xBF"},
      {units({0xD83D, 0xDE00}), "\xF0\x9F\x98\x80"},
      {units({0xDBFF, 0xDFFF}), "\xF4\x8F\xBF\xBF"},
      {units({0xD800}), "\xEF\xBF\xBD"},              // high surrogate at the end
      {units({0xDC00, u'x'}), "\xEF\xBF\xBDx"},       // low surrogate alone
      {units({0xD800, u'A'}), "\xEF\xBF\xBD" "A"},    // high surrogate without its partner
      {units({0xDE00, 0xD83D}), "\xEF\xBF\xBD\xEF\xBF\xBD"},  // pair in the wrong order
      {units({u'a', 0, u'b'}), std::string("a\0b", 3)},
  };
  for (const auto& c : cases) {
    std::vector<unsigned> codes(c.text.begin(), c.text.end());
    EXPECT_EQ(toUtf8(c.text), c.utf8) << PrintToString(codes);
  }
}

}  // namespace
