// The window header a prepared root gives: style, font, point size, caption.
#include <gtest/gtest.h>

#include <string>

#include "app/exception.h"
#include "dialog/dialog_header.h"
#include "dialog_test_support.h"

namespace {

constexpr std::uint32_t kCallerStyle = 0x80C800C8;

CDialogHeader headerOf(const std::string& markup) { return readDialogHeader(preparedModel(markup), kCallerStyle); }

TEST(DialogHeader, StyleInHexadecimalOrDecimal) {
  EXPECT_EQ(headerOf("<dialog style=\"0x80800048\"/>").style, 0x80800048u);
  EXPECT_EQ(headerOf("<dialog style=\"2155872328\"/>").style, 0x80800048u);
  EXPECT_EQ(headerOf("<dialog style=\"0X80800048\"/>").style, 0x80800048u);
  EXPECT_EQ(headerOf("<dialog style=\"-1\"/>").style, 0xFFFFFFFFu);
  // Only a style that parses as a whole counts.
  EXPECT_EQ(headerOf("<dialog style=\"0x8080z\"/>").style, kCallerStyle);
  EXPECT_EQ(headerOf("<dialog style=\" 12\"/>").style, kCallerStyle);
  EXPECT_EQ(headerOf("<dialog/>").style, kCallerStyle);
}

TEST(DialogHeader, FontSizeAndCaption) {
  const CDialogHeader plain = headerOf("<dialog/>");
  EXPECT_EQ(plain.font, L"MS Shell Dlg");
  EXPECT_EQ(plain.pointSize, 8);
  EXPECT_EQ(plain.caption, L"");

  const DialogModel model = preparedModel("<dialog font=\"Segoe UI\" size=\"65535\"><Caption>Brantel Setup</Caption></dialog>");
  const CDialogHeader header = readDialogHeader(model, kCallerStyle);
  EXPECT_EQ(header.font, L"segoe ui");  // face names are compared without regard to case
  EXPECT_EQ(header.pointSize, 65535);
  EXPECT_EQ(model.fontSize, 65535);
  EXPECT_EQ(header.caption, L"Brantel Setup");

  for (const char* size : {"65536", "-1", "9pt", "", "big"}) {
    EXPECT_EQ(headerOf(std::string("<dialog size=\"") + size + "\"/>").pointSize, 8) << size;
  }
  EXPECT_EQ(headerOf("<dialog size=\"0\"/>").pointSize, 0);
}

TEST(DialogHeader, ARootThatIsNotADialogFails) {
  const DialogModel model = preparedModel("<page caption=\"x\"><b>text</b></page>");
  EXPECT_EQ(model.root->name, L"page");  // preparing it works
  try {
    readDialogHeader(model, kCallerStyle);
    FAIL() << "a page root gave a header";
  } catch (const XExceptionDlg& e) {
    EXPECT_EQ(e.getText(), L"Dialog error");
  }
}

}  // namespace
