// The real bundle of ui/, as setup.exe carries it: installed before main by
// the generated static initialiser, with every markup file the program names,
// the texts of the string table, and the pictures with their "-x2" variants.
#include <gtest/gtest.h>

#include <windows.h>

#include "base/bitmap.h"
#include "resource/resource_bundle.h"

namespace {

CBmpPixel pixelAt(const XBitmapBase& bitmap, int x, int y) {
  CBmpPixel pixel = 0;
  bitmap.readRow(&pixel, x, y, 1);
  return pixel;
}

TEST(UiBundle, HoldsEveryMarkupFileTheProgramNames) {
  const char* const names[] = {
      "stddlg.xml",          "dlg/wiz.xml",       "dlg/welcome.xml",
      "dlg/hasupdate.xml",   "dlg/already-installed.xml", "dlg/finish.xml",
      "dlg/msg-cant-check-version.xml", "dlg/need-restart.xml", "dlg/downloading.xml",
  };
  for (const char* name : names) {
    const XmlNodePtr root = documentElement(loadXmlResource(name));
    ASSERT_TRUE(root) << name;
    EXPECT_EQ(root->text, L"dialog") << name;
  }
  EXPECT_FALSE(findResource("DLG/WIZ.XML")) << "names are exact";
}

TEST(UiBundle, StringTableHoldsTheSystemsTexts) {
  const std::pair<const char*, const wchar_t*> texts[] = {
      {"xbutton.ok", L"Ok"},
      {"xbutton.try", L"Try again"},
      {"wait.verifying", L"Verifying installation files..."},
      {"wait.checking-version", L"Receiving latest update information..."},
      {"wait.installing", L"Now Installing..."},
      {"wait.exit-running", L"Waiting for active instance to terminate..."},
      {"msg.package-corrupted",
       L"Installation package is corrupted. Please download the latest installation package and try again"},
      {"msg.installation-complete", L"Installation complete"},
      {"msg.save-failed", L"Failed to save the file:\n"},
      {"startup.requires", L"This software requires %s"},
      {"update.error", L"Update error: "},
      {"http.status.206", L"Partial GET furfilled"},
      {"validate.number-range", L"Please enter a number from %1 to %2"},
      {"wizard.finish", L"Finish"},
  };
  for (const auto& [name, text] : texts) {
    EXPECT_EQ(lookupString(name), text) << name;
  }
  // A text written over several lines keeps its paragraphs, not its indentation.
  const std::wstring welcome = lookupString("welcome.text");
  EXPECT_EQ(welcome.rfind(L"Setup will install Brantel on your computer.\n\nBefore it goes on", 0), 0u) << "welcome";
  EXPECT_EQ(welcome.find(L"\n "), std::wstring::npos);
}

TEST(UiBundle, SideImageHasASharpDoubleVariantAndAFlatTop) {
  ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  {
    CBmpAlpha normal;
    CBmpAlpha doubled;
    loadImageResource("img/setup-logo.png", normal, doubled);
    EXPECT_EQ(normal.width(), 164);
    EXPECT_EQ(normal.height(), 314);
    EXPECT_EQ(doubled.width(), 2 * normal.width());
    EXPECT_EQ(doubled.height(), 2 * normal.height());
    // The wizard extends a short picture upwards in the colour of its
    // top-left pixel: the whole top row must be that colour.
    for (const XBitmapBase* bitmap : {static_cast<const XBitmapBase*>(&normal), static_cast<const XBitmapBase*>(&doubled)}) {
      const CBmpPixel corner = pixelAt(*bitmap, 0, 0);
      EXPECT_EQ(corner >> 24, 0xFFu) << "opaque";
      for (int x = 0; x < bitmap->width(); ++x) {
        ASSERT_EQ(pixelAt(*bitmap, x, 0), corner) << x;
      }
    }
    // Drawn at its own size, not doubled: somewhere it differs from the
    // normal picture repeated 2 x 2.
    int differing = 0;
    for (int y = 0; y < doubled.height(); ++y) {
      for (int x = 0; x < doubled.width(); ++x) {
        differing += pixelAt(doubled, x, y) != pixelAt(normal, x / 2, y / 2);
      }
    }
    EXPECT_GT(differing, 1000);
  }
  ::CoUninitialize();
}

}  // namespace
