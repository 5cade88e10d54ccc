#include "base/ansi.h"

#include <windows.h>

#include <gtest/gtest.h>

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

}  // namespace
