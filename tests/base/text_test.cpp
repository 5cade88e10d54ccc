#include "base/text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TextHelpers, TrimmingTakesOnlyTheNamedSet) {
  struct {
    std::wstring_view text;
    std::wstring_view blanks;
    std::wstring_view expected;
  } const cases[] = {
      {L" \t\r\nvalue\n\r\t ", kXmlBlanks, L"value"},
      {L"\v value \f", kXmlBlanks, L"\v value \f"},  // not XML white space
      {L"\v value \f", kCBlanks, L"value"},
      {L"\n name = v \n", kLineBlanks, L"\n name = v \n"},  // line feeds stay for the line splitter
      {L" a b ", kLineBlanks, L"a b"},                      // inner blanks stay
      {L" \t ", kLineBlanks, L""},
      {L"", kXmlBlanks, L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(trimmed(c.text, c.blanks), c.expected) << testing::PrintToString(std::wstring(c.text));
  }
  EXPECT_TRUE(isAllBlank(L" \r\n\t"));
  EXPECT_TRUE(isAllBlank(L""));
  EXPECT_FALSE(isAllBlank(L" x "));
}

TEST(TextHelpers, OnlyAsciiLettersChangeCase) {
  // Letters outside ASCII keep their case whatever the system locale says, so
  // a folded markup name is the same in both trees; the characters next to
  // 'A', 'Z', 'a' and 'z' in the table stay too.
  EXPECT_EQ(asciiLowerCase(std::wstring_view(L"DOCTYPE @[`{ \u00C4\u0130\u03A3")), L"doctype @[`{ \u00C4\u0130\u03A3");
  EXPECT_EQ(asciiLowerCase(std::string_view("Img/Setup-Logo.PNG")), "img/setup-logo.png");
  EXPECT_EQ(asciiUpper(L'z'), L'Z');
  EXPECT_EQ(asciiUpper(L'{'), L'{');

  struct {
    std::wstring_view a;
    std::wstring_view b;
    bool equal;
  } const cases[] = {
      {L"/UPDATE", L"/update", true},  {L"Utf-8", L"UTF-8", true}, {L"", L"", true},
      {L"caption", L"captions", false}, {L"\u00E4", L"\u00C4", false}, {L"[", L"{", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(equalsIgnoringCase(c.a, c.b), c.equal) << testing::PrintToString(std::wstring(c.a));
  }
}

}  // namespace
