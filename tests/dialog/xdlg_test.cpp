// The markup dialog window under Wine, run modally on a thread of its own and
// operated from the test thread the way a person (or another program) would:
// its template from the markup's root, the identification message, the
// button row ending the dialog, a DPI change and its way back, and the item
// data its controls hold released when it goes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>

#include "app/exception.h"
#include "base/ref_object.h"
#include "base/ref_ptr.h"
#include "dialog/item_data_win.h"
#include "dialog/xdlg.h"
#include "dialog_test_support.h"
#include "frame/modal_run.h"
#include "markup_bundle.h"
#include "support/polling.h"
#include "support/ui_driver.h"

namespace {

constexpr DWORD kEndMs = 10000;

// A markup dialog shown modally for as long as the object lives.
class CRunningDialog {
public:
  explicit CRunningDialog(const std::string& markup, const std::wstring& caption)
      : dialog_(preparedModel(markup), nullptr), run_(dialog_) {
    window_ = ui::waitForWindow({caption, L"#32770"});
  }

  HWND window() const { return window_; }
  XDlg& dialog() { return dialog_; }
  std::optional<INT_PTR> result() { return run_.waitResult(kEndMs); }
  HWND control(const std::wstring& text) const {
    const std::optional<ui::CControl> found = ui::findControl(window_, text);
    return found ? found->hwnd : nullptr;
  }
  RECT placeOf(HWND control) const {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

private:
  XDlg dialog_;
  frame_test::CModalRun run_;
  HWND window_ = nullptr;
};

LONG fontHeightOf(HWND control) {
  LOGFONTW description{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)), sizeof description, &description);
  return description.lfHeight;
}

bool sameRect(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }

class XDlgWindow : public testing::Test {
protected:
  void SetUp() override {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_LINK_CLASS};
    ASSERT_TRUE(::InitCommonControlsEx(&classes));
  }

  const CMarkupBundle bundle_{{{"strings/default.xml", CMarkupBundle::stringTable({})}}};
};

TEST_F(XDlgWindow, TheWindowIsMadeFromTheMarkupsRoot) {
  CRunningDialog shown(
      "<dialog font=\"Tahoma\" size=\"10\"><caption>Made from markup</caption>Your name <text id=\"name\" focus=\"1\"/>"
      "<xbutton type=\"ok\"/><xbutton type=\"cancel\" default=\"1\"/></dialog>",
      L"Made from markup");
  ASSERT_NE(shown.window(), nullptr);
  const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(shown.window(), GWL_STYLE));
  EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), DWORD{WS_POPUP | WS_CAPTION | WS_SYSMENU}) << std::hex
                                                                                                       << style;
  LOGFONTW font{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(shown.window(), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(::lstrcmpiW(font.lfFaceName, L"Tahoma"), 0) << font.lfFaceName;
  EXPECT_EQ(font.lfHeight, -13) << "10 points at 96 DPI";
  const HWND field = shown.control(L"");
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(ui::windowClass(field), L"Edit");
  EXPECT_NE(shown.control(L"Your "), nullptr);
  EXPECT_NE(shown.control(L"name "), nullptr);
  EXPECT_EQ(shown.control(L"Made from markup"), nullptr) << "the caption is the title, not a control";
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  EXPECT_TRUE(ui::pollUntil(kEndMs, [&] {
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(shown.window(), nullptr), &thread) &&
           thread.hwndFocus == field;
  })) << "the field the markup gives the focus has it";
  const LRESULT defaultId = ::SendMessageW(shown.window(), DM_GETDEFID, 0, 0);
  EXPECT_EQ(HIWORD(defaultId), DC_HASDEFID);
  EXPECT_EQ(LOWORD(defaultId), IDCANCEL);
  RECT client{};
  ::GetClientRect(shown.window(), &client);
  for (const ui::CControl& control : ui::listControls(shown.window())) {
    SCOPED_TRACE(control.text);
    RECT place = shown.placeOf(control.hwnd);
    RECT inside{};
    EXPECT_TRUE(::IntersectRect(&inside, &place, &client) && sameRect(inside, place)) << "in the client area";
  }
}

TEST_F(XDlgWindow, TheStyleReadsTheSameInDecimalAndHexadecimal) {
  const struct {
    const char* style;
    DWORD expected;
  } cases[] = {
      {"0x80C80048", 0x80C80048},
      {"2160590920", 0x80C80048},
      {"0X80C80048", 0x80C80048},
      {"0x80C80048 ", 0x80C800C8},  // not a number as a whole: the default
      {"lots", 0x80C800C8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.style);
    CRunningDialog shown(std::string("<dialog style=\"") + c.style + "\"><caption>Styled</caption>x</dialog>",
                         L"Styled");
    ASSERT_NE(shown.window(), nullptr);
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(shown.window(), GWL_STYLE));
    // The system adds WS_CLIPSIBLINGS and WS_VISIBLE and keeps DS_ bits of
    // its own; the window bits
    // and DS_MODALFRAME (as WS_EX_DLGMODALFRAME) are what the template set.
    EXPECT_EQ(style & 0xFFFF0000 & ~DWORD{WS_CLIPSIBLINGS | WS_VISIBLE}, c.expected & 0xFFFF0000) << std::hex << style;
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(shown.window(), GWL_EXSTYLE));
    EXPECT_EQ((exStyle & WS_EX_DLGMODALFRAME) != 0, (c.expected & DS_MODALFRAME) != 0) << std::hex << exStyle;
    ::PostMessageW(shown.window(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(shown.result(), IDCANCEL);
  }
}

TEST_F(XDlgWindow, TheIdentificationMessageAnswersTheTagPlusOne) {
  CRunningDialog shown("<dialog><caption>Who are you</caption>x</dialog>", L"Who are you");
  ASSERT_NE(shown.window(), nullptr);
  EXPECT_EQ(::SendMessageW(shown.window(), kMarkupDialogMessage, kMarkupDialogTag, kAskMarkupDialog),
            static_cast<LRESULT>(kMarkupDialogTag + 1));
  EXPECT_EQ(::SendMessageW(shown.window(), kMarkupDialogMessage, 12345, kAskMarkupDialog), 0)
      << "another tag gets the default handling";
  EXPECT_EQ(::SendMessageW(shown.window(), kMarkupDialogMessage, kMarkupDialogTag, 7), 0);
}

TEST_F(XDlgWindow, TheButtonRowEndsTheDialogWithItsResults) {
  const struct {
    const wchar_t* button;
    INT_PTR result;
  } cases[] = {{L"Ok", IDOK}, {L"Try again", IDTRYAGAIN}, {L"Cancel", IDCANCEL}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button);
    CRunningDialog shown(
        "<dialog><caption>Buttons</caption>Again?<xbutton type=\"ok\"/><xbutton type=\"try\"/>"
        "<xbutton type=\"cancel\"/></dialog>",
        L"Buttons");
    ASSERT_NE(shown.window(), nullptr);
    ASSERT_TRUE(ui::clickControl(shown.window(), c.button, ui::ClickBy::Message));
    EXPECT_EQ(shown.result(), c.result);
  }
}

// Wine never tells a window that its DPI changed: the test does, as the
// system would when the window moves to another monitor.
TEST_F(XDlgWindow, ADpiChangeRescalesTheControlsAndGoingBackRestoresThem) {
  CRunningDialog shown(
      "<dialog><caption>Rescaled</caption><static>Words</static><text/><xbutton type=\"ok\"/></dialog>",
      L"Rescaled");
  ASSERT_NE(shown.window(), nullptr);
  const HWND words = shown.control(L"Words");
  const HWND button = shown.control(L"Ok");
  ASSERT_NE(words, nullptr);
  ASSERT_NE(button, nullptr);
  const RECT wordsAt96 = shown.placeOf(words);
  const RECT buttonAt96 = shown.placeOf(button);
  const LONG heightAt96 = fontHeightOf(words);
  RECT windowAt96{};
  ::GetWindowRect(shown.window(), &windowAt96);

  RECT suggested{50, 40, 50 + 2 * (windowAt96.right - windowAt96.left), 40 + 2 * (windowAt96.bottom - windowAt96.top)};
  ::SendMessageW(shown.window(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  const RECT wordsAt192 = shown.placeOf(words);
  const RECT buttonAt192 = shown.placeOf(button);
  EXPECT_TRUE(sameRect(buttonAt192, RECT{2 * buttonAt96.left, 2 * buttonAt96.top, 2 * buttonAt96.right,
                                         2 * buttonAt96.bottom}));
  EXPECT_EQ(wordsAt192.left, 2 * wordsAt96.left);
  EXPECT_EQ(wordsAt192.bottom, 2 * wordsAt96.bottom);
  EXPECT_EQ(fontHeightOf(words), 2 * heightAt96 + 2) << "twice the character height, two pixels less";
  EXPECT_EQ(fontHeightOf(button), fontHeightOf(words)) << "one font made for both";
  RECT windowAt192{};
  ::GetWindowRect(shown.window(), &windowAt192);
  EXPECT_EQ(windowAt192.left, 50);
  EXPECT_EQ(windowAt192.top, 40);
  EXPECT_EQ(windowAt192.right, suggested.right);
  EXPECT_EQ(windowAt192.bottom, suggested.bottom - 8) << "a growing DPI takes 8 pixels off the suggested height";

  RECT back{windowAt96.left, windowAt96.top, windowAt96.left + 10, windowAt96.top + 10};
  ::SendMessageW(shown.window(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&back));
  EXPECT_TRUE(sameRect(shown.placeOf(words), wordsAt96));
  EXPECT_TRUE(sameRect(shown.placeOf(button), buttonAt96));
  EXPECT_EQ(fontHeightOf(words), heightAt96);
  RECT windowBack{};
  ::GetWindowRect(shown.window(), &windowBack);
  EXPECT_TRUE(sameRect(windowBack, windowAt96)) << "the size the window was built with";
}

int iconWidth(HICON icon) {
  ICONINFO info{};
  if (!::GetIconInfo(icon, &info)) {
    return 0;
  }
  BITMAP bitmap{};
  ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

TEST_F(XDlgWindow, APictureShowsItsDoubleVariantFrom192Dpi) {
  CRunningDialog shown("<dialog><caption>Pictures</caption><image src=\"32516\"/></dialog>", L"Pictures");
  ASSERT_NE(shown.window(), nullptr);
  const HWND picture = ::GetDlgItem(shown.window(), 1000);
  const auto shownIconWidth = [&] {
    return iconWidth(reinterpret_cast<HICON>(::SendMessageW(picture, STM_GETIMAGE, IMAGE_ICON, 0)));
  };
  EXPECT_EQ(shownIconWidth(), 32);
  RECT suggested{0, 0, 400, 300};
  ::SendMessageW(shown.window(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(shownIconWidth(), 64);
  const RECT place = shown.placeOf(picture);
  EXPECT_EQ(place.right - place.left, 64) << "the control scaled with its picture";
  ::SendMessageW(shown.window(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(shownIconWidth(), 32);
}

TEST_F(XDlgWindow, TheButtonRowIsShadedBelowALine) {
  CRunningDialog shown("<dialog><caption>Shaded</caption>Text above<xbutton type=\"ok\"/></dialog>", L"Shaded");
  ASSERT_NE(shown.window(), nullptr);
  const RECT button = shown.placeOf(shown.control(L"Ok"));
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  const COLORREF shade = RGB(GetRValue(face) * 15 / 16, GetGValue(face) * 15 / 16, GetBValue(face) * 15 / 16);
  const HDC dc = ::GetDC(shown.window());
  // The row's line is the darkest pixel in the column left of the button.
  std::optional<LONG> line;
  ui::pollUntil(kEndMs, [&] {
    for (LONG y = 0; y <= button.top; ++y) {
      if (::GetPixel(dc, 1, y) == RGB(GetRValue(face) / 2, GetGValue(face) / 2, GetBValue(face) / 2)) {
        line = y;
      }
    }
    return line.has_value();
  });
  const COLORREF top = ::GetPixel(dc, 1, 1);
  const COLORREF row = ::GetPixel(dc, 1, button.bottom);
  ::ReleaseDC(shown.window(), dc);
  ASSERT_TRUE(line.has_value()) << "no line above the button; at its top: " << std::hex << row;
  EXPECT_EQ(top, face);
  EXPECT_EQ(row, shade);
}

struct CCountedItem : CBaseRefObject {
  explicit CCountedItem(int& destroyed) : destroyed_(destroyed) {}
  ~CCountedItem() override { ++destroyed_; }
  int& destroyed_;
};

TEST_F(XDlgWindow, ItemDataOfMarkedControlsIsReleasedWithTheWindow) {
  int destroyed = 0;
  {
    CRunningDialog shown("<dialog><caption>Items</caption><combo/><combo/></dialog>", L"Items");
    ASSERT_NE(shown.window(), nullptr);
    const HWND marked = ::GetDlgItem(shown.window(), 1000);
    const HWND unmarked = ::GetDlgItem(shown.window(), 1001);
    ::SetWindowLongPtrW(marked, GWLP_USERDATA, static_cast<LONG_PTR>(kComboItemDataMarker));
    const auto add = [&](HWND combo, LPARAM data) {
      const LRESULT index = ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"item"));
      ::SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), data);
    };
    // The combo box takes over the first reference of each.
    add(marked, reinterpret_cast<LPARAM>(makeRef<CCountedItem>(destroyed).detach()));
    add(marked, reinterpret_cast<LPARAM>(makeRef<CCountedItem>(destroyed).detach()));
    add(marked, 0);
    CCountedItem kept(destroyed);
    kept.addRef();  // the unmarked combo's reference is never given back
    add(unmarked, reinterpret_cast<LPARAM>(&kept));
    ::PostMessageW(shown.window(), WM_COMMAND, IDCANCEL, 0);
    ASSERT_EQ(shown.result(), IDCANCEL);
    EXPECT_EQ(destroyed, 2);
  }
}

TEST_F(XDlgWindow, TheApplicationsIconIsTheWindowsLargeAndSmallIcon) {
  const HICON icon = ::LoadIconW(nullptr, IDI_INFORMATION);
  ASSERT_NE(icon, nullptr);
  XDlg::setApplicationIcon(icon);
  CRunningDialog shown("<dialog><caption>With an icon</caption>x</dialog>", L"With an icon");
  XDlg::setApplicationIcon(nullptr);
  ASSERT_NE(shown.window(), nullptr);
  EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageW(shown.window(), WM_GETICON, ICON_BIG, 0)), icon);
  EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageW(shown.window(), WM_GETICON, ICON_SMALL, 0)), icon);
}

TEST_F(XDlgWindow, MarkupWhoseRootIsNoDialogIsADialogError) {
  try {
    XDlg dialog(preparedModel("<page><button>Go</button></page>"), nullptr);
    ADD_FAILURE() << "made a dialog of a page";
  } catch (const XExceptionDlg& failure) {
    EXPECT_EQ(failure.getText(), L"Dialog error");
  }
}

}  // namespace
