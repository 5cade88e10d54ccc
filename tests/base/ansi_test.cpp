#include "base/ansi.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <climits>

#include "support/thrown_member.h"

namespace {

TEST(AnsiCodePage, AsciiRoundTrips) {
  EXPECT_EQ(toAnsi(L"strings/default.xml"), "strings/default.xml");
  EXPECT_EQ(fromAnsi("dialogs\\welcome.xml"), L"dialogs\\welcome.xml");
  EXPECT_EQ(toAnsi(L""), "");
  EXPECT_EQ(fromAnsi(""), L"");
}

TEST(AnsiCodePage, WesternCodePage) {
  // The test prefixes pin it (scripts/wine-template.sh).
  ASSERT_EQ(::GetACP(), 1252u);
  EXPECT_EQ(toAnsi(L"caf\u00E9"), "caf\xE9");
  EXPECT_EQ(fromAnsi("\x80 \xFC"), L"\u20AC \u00FC");
  // A character the page lacks comes out as the page's default character.
  EXPECT_EQ(toAnsi(L"\u4E00"), "?");
}

TEST(AnsiCodePage, ATextTooLongForTheSystemIsRefused) {
  // Only the length is looked at before the refusal: no character past the
  // first is ever read.
  const wchar_t wide = L'a';
  const char narrow = 'a';
  const std::size_t tooLong = std::size_t{INT_MAX} + 1;
  const std::wstring text = L"The text is too long to be converted";
  EXPECT_TRUE(throwsMember<XExceptionLength>([&] { toAnsi(std::wstring_view(&wide, tooLong)); }, text));
  EXPECT_TRUE(throwsMember<XExceptionLength>([&] { fromAnsi(std::string_view(&narrow, tooLong)); }, text));
}

}  // namespace
