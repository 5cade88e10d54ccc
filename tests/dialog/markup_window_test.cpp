// Markup made into real windows under Wine: the controls of each element
// with their classes and styles, the standard button row, mnemonics, labels
// in the tab order, list columns, display none, and every window where
// layout put it.  The controls are read back from the windows the way the
// UI driver reads any program.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/exception.h"
#include "base/com_apartment.h"
#include "dialog/dialog_layout.h"
#include "dialog/font_metrics.h"
#include "dialog/list_columns.h"
#include "dialog/markup_window_win.h"
#include "dialog_test_support.h"
#include "frame/wnd.h"
#include "markup_bundle.h"
#include "support/paths.h"
#include "support/ui_driver.h"

namespace {

constexpr wchar_t kCaption[] = L"Markup Window Test";
constexpr int kFirstAutomaticId = 1000;

// A plain top-level window in the dialog colour that notes the commands its
// controls send.
class CHostWindow : public frame::CWnd {
public:
  std::vector<int> commands;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_ERASEBKGND) {
      RECT client{};
      ::GetClientRect(GetSafeHwnd(), &client);
      ::FillRect(reinterpret_cast<HDC>(wParam), &client, ::GetSysColorBrush(COLOR_3DFACE));
      return TRUE;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }

  bool OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (lParam != 0) {
      commands.push_back(LOWORD(wParam));
    }
    return true;
  }
};

// Markup shown in a window of its own for as long as the object lives.
class CShownMarkup {
public:
  // The window stays hidden, as a dialog does while it is built, unless
  // someone is to look at it.
  explicit CShownMarkup(const std::string& markup, bool visible = false) : model_(preparedModel(markup)) {
    host_.CreateEx(0, nullptr, kCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, RECT{0, 0, 200, 100}, nullptr);
    content_.emplace(model_, host_.GetSafeHwnd());
    if (visible) {
      ::ShowWindow(host_.GetSafeHwnd(), SW_SHOW);
    }
  }
  // The controls go with their window before the fonts they use.
  ~CShownMarkup() { host_.DestroyWindow(); }
  CShownMarkup(const CShownMarkup&) = delete;
  CShownMarkup& operator=(const CShownMarkup&) = delete;

  HWND window() const { return host_.GetSafeHwnd(); }
  const DialogModel& model() const { return model_; }
  const CMarkupWindowContent& content() const { return *content_; }
  const std::vector<int>& commands() const { return host_.commands; }

  HWND control(int id) const { return ::GetDlgItem(window(), id); }
  // The first control that reads so (mnemonics ignored).
  HWND control(const std::wstring& text) const {
    const std::optional<ui::CControl> found = ui::findControl(window(), text);
    return found ? found->hwnd : nullptr;
  }
  // Where the control is, in the window's client coordinates.
  RECT placeOf(HWND control) const {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

private:
  CHostWindow host_;
  DialogModel model_;
  std::optional<CMarkupWindowContent> content_;
};

std::string fileText(const std::string& unixPath) {
  std::ifstream in(std::filesystem::path(support::windowsPathOf(unixPath)), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::wstring rectText(const RECT& r) {
  std::wostringstream text;
  text << r.left << L"," << r.top << L"," << r.right << L"," << r.bottom;
  return text.str();
}

std::wstring rectText(const CBoxRect& r) { return rectText(RECT{r.left, r.top, r.right, r.bottom}); }

LOGFONTW fontOf(HWND control) {
  LOGFONTW description{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)), sizeof description, &description);
  return description;
}

class MarkupWindowAt192Dpi : public testing::Test {
protected:
  void SetUp() override {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    ASSERT_TRUE(::InitCommonControlsEx(&classes));
  }
};

class MarkupWindow : public testing::Test {
protected:
  void SetUp() override {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                       ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_LINK_CLASS | ICC_PROGRESS_CLASS};
    ASSERT_TRUE(::InitCommonControlsEx(&classes));
  }

  const CMarkupBundle bundle_{{{"strings/default.xml", CMarkupBundle::stringTable({{"xbutton.yes", "Sure"}})}}};
};

TEST_F(MarkupWindow, EveryElementMakesItsControlWithItsClassAndStyles) {
  const struct {
    const char* element;
    const wchar_t* className;
    DWORD mask;  // the style bits looked at...
    DWORD style;  // ...and what they must be
    DWORD exMask;
    DWORD exStyle;
  } cases[] = {
      {"<button>Go</button>", L"Button", WS_TABSTOP | BS_TYPEMASK, WS_TABSTOP | BS_PUSHBUTTON, WS_EX_RIGHT, 0},
      {"<button default=\"1\">Go</button>", L"Button", BS_TYPEMASK, BS_DEFPUSHBUTTON, 0, 0},
      {"<button default=\"true\">Go</button>", L"Button", BS_TYPEMASK, BS_PUSHBUTTON, 0, 0},
      {"<radio>One</radio>", L"Button", WS_TABSTOP | WS_GROUP | BS_TYPEMASK | BS_LEFTTEXT,
       WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, WS_EX_RIGHT, 0},
      {"<radio left=\"true\">One</radio>", L"Button", BS_LEFTTEXT, BS_LEFTTEXT, WS_EX_RIGHT, WS_EX_RIGHT},
      {"<checkbox align=\"right\">On</checkbox>", L"Button", BS_TYPEMASK | BS_LEFTTEXT, BS_AUTOCHECKBOX,
       WS_EX_RIGHT, WS_EX_RIGHT},
      {"<checkbox align=\"left\">On</checkbox>", L"Button", BS_TYPEMASK, BS_AUTOCHECKBOX, WS_EX_RIGHT, 0},
      {"<text/>", L"Edit", WS_TABSTOP | ES_AUTOHSCROLL | ES_MULTILINE | ES_PASSWORD | ES_NUMBER,
       WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE},
      {"<text type=\"password\"/>", L"Edit", ES_PASSWORD | ES_NUMBER, ES_PASSWORD, 0, 0},
      {"<text type=\"int\"/>", L"Edit", ES_PASSWORD | ES_NUMBER, ES_NUMBER, 0, 0},
      {"<text height=\"3em\"/>", L"Edit", ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_HSCROLL,
       ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL, 0, 0},
      {"<text height=\"3em\" vscroll=\"false\" hscroll=\"true\"/>", L"Edit", WS_VSCROLL | WS_HSCROLL, WS_HSCROLL, 0,
       0},
      {"<text upper=\"true\" read-only=\"1\"/>", L"Edit", ES_UPPERCASE | ES_READONLY, ES_UPPERCASE | ES_READONLY, 0,
       0},
      // The combo box hands WS_VSCROLL on to its drop-down list.
      {"<combo/>", L"ComboBox", WS_TABSTOP | CBS_SORT | 3, WS_TABSTOP | CBS_SORT | CBS_DROPDOWNLIST, 0, 0},
      {"<combo type=\"dropdownlist\"/>", L"ComboBox", 3, CBS_DROPDOWNLIST, 0, 0},
      {"<combo type=\"dropdown\" sort=\"false\"/>", L"ComboBox", CBS_SORT | 3, CBS_DROPDOWN, 0, 0},
      {"<list/>", L"SysListView32",
       WS_TABSTOP | LVS_TYPEMASK | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER | LVS_OWNERDATA,
       WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE | WS_EX_NOPARENTNOTIFY,
       WS_EX_CLIENTEDGE | WS_EX_NOPARENTNOTIFY},
      {"<list header=\"true\"/>", L"SysListView32", LVS_NOCOLUMNHEADER, 0, 0, 0},
      {"<list header=\"0\" multiple=\"true\" ownerdata=\"1\"/>", L"SysListView32",
       LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_OWNERDATA, LVS_NOCOLUMNHEADER | LVS_OWNERDATA, 0, 0},
      {"<tree/>", L"SysTreeView32", WS_TABSTOP | TVS_CHECKBOXES, WS_TABSTOP, WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE},
      {"<tree checkbox=\"true\"/>", L"SysTreeView32", TVS_CHECKBOXES, TVS_CHECKBOXES, 0, 0},
      {"<progress/>", L"msctls_progress32", PBS_MARQUEE, 0, 0, 0},
      {"<progress marquee=\"true\"/>", L"msctls_progress32", PBS_MARQUEE, PBS_MARQUEE, 0, 0},
      {"<date/>", L"SysDateTimePick32", DTS_SHOWNONE, 0, 0, 0},
      {"<date none=\"true\"/>", L"SysDateTimePick32", DTS_SHOWNONE, DTS_SHOWNONE, 0, 0},
      {"<static>Text</static>", L"Static", SS_TYPEMASK | SS_CENTERIMAGE, SS_LEFT, 0, 0},
      {"<static align=\"center\">Text</static>", L"Static", SS_TYPEMASK, SS_CENTER, 0, 0},
      {"<label align=\"right\">Text</label>", L"Static", SS_TYPEMASK | SS_CENTERIMAGE, SS_RIGHT | SS_CENTERIMAGE,
       0, 0},
      {"<label>Text</label>", L"Static", SS_TYPEMASK | SS_CENTERIMAGE, SS_LEFT | SS_CENTERIMAGE, 0, 0},
      {"<a href=\"x\">Link</a>", L"SysLink", 0, 0, 0, 0},
      {"<image src=\"32516\"/>", L"Static", SS_TYPEMASK | SS_NOTIFY, SS_ICON, 0, 0},
      {"<image src=\"32516\" id=\"picture\"/>", L"Static", SS_TYPEMASK | SS_NOTIFY, SS_ICON | SS_NOTIFY, 0, 0},
      {"<image src=\"no-such-picture.png\" width=\"20px\" height=\"10px\"/>", L"Static", SS_TYPEMASK, SS_BITMAP, 0,
       0},
      {"<hr/>", L"Static", SS_TYPEMASK | SS_SUNKEN, SS_LEFT | SS_SUNKEN, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.element);
    const CShownMarkup shown(std::string("<dialog>") + c.element + "</dialog>");
    const HWND control = shown.control(kFirstAutomaticId);
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(::GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) << "layout shows it";
    EXPECT_EQ(ui::windowClass(control), c.className);
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(control, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(control, GWL_EXSTYLE));
    EXPECT_EQ(style & WS_CHILD, DWORD{WS_CHILD});
    EXPECT_EQ(style & c.mask, c.style) << std::hex << style;
    EXPECT_EQ(exStyle & c.exMask, c.exStyle) << std::hex << exStyle;
  }
}

TEST_F(MarkupWindow, ControlsTakeTheirTextsStateAndSizes) {
  const CShownMarkup shown(
      "<dialog><text>  Ada  </text><checkbox checked=\"true\">On</checkbox><radio>Off</radio>"
      "<combo value=\"b\" sort=\"false\"><item value=\"a\">Alpha</item><item value=\"b\">Beta</item></combo>"
      "<a href=\"x\">Visit us</a><static>One line</static><hr/><image src=\"none.png\"/></dialog>");
  const std::int32_t em = shown.model().em();
  const HWND edit = shown.control(1000);
  EXPECT_EQ(ui::windowText(edit), L"Ada");
  const RECT field = shown.placeOf(edit);
  EXPECT_EQ(field.right - field.left, 12 * em) << "a text field is 12 em wide by default";
  EXPECT_EQ(::SendMessageW(shown.control(1001), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(::SendMessageW(shown.control(1002), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(::SendMessageW(shown.control(1003), CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(::SendMessageW(shown.control(1003), CB_GETCURSEL, 0, 0), 1) << "the item with the combo's value";
  EXPECT_EQ(ui::windowText(shown.control(1004)), L"<a>Visit us</a>");
  EXPECT_EQ(ui::windowText(shown.control(1005)), L"One line");
  const RECT rule = shown.placeOf(shown.control(1006));
  RECT client{};
  ::GetClientRect(shown.window(), &client);
  EXPECT_EQ(rule.right - rule.left, client.right - 2 * em) << "a rule reaches across the dialog's content";
  const RECT picture = shown.placeOf(shown.control(1007));
  EXPECT_EQ(picture.right - picture.left, 100) << "a picture that is not there keeps the markup's size";
}

TEST_F(MarkupWindow, IdentifiersRadioGroupsAndNaturalSizes) {
  const CShownMarkup shown(
      "<dialog><button dialog-id=\"42\">Go</button><button dialog-id=\"x\">Go on</button>"
      "<radio name=\"a\">A1</radio><radio name=\"a\">A2</radio><radio name=\"b\">B1</radio>"
      "<label>Name</label>some words</dialog>");
  EXPECT_NE(shown.control(42), nullptr);
  EXPECT_EQ(::GetDlgCtrlID(shown.control(L"Go on")), 1000) << "a dialog-id that is no integer is not used";
  const auto startsGroup = [&](int id) { return (::GetWindowLongPtrW(shown.control(id), GWL_STYLE) & WS_GROUP) != 0; };
  EXPECT_TRUE(startsGroup(1001));
  EXPECT_FALSE(startsGroup(1002));
  EXPECT_TRUE(startsGroup(1003)) << "another name starts another group";

  const CControlUnits units = controlUnits(shown.model().metrics);
  const std::int32_t em = shown.model().em();
  const RECT button = shown.placeOf(shown.control(42));
  EXPECT_EQ(button.right - button.left, units.buttonWidth) << "a short caption keeps the standard width";
  EXPECT_EQ(button.bottom - button.top, units.buttonHeight);
  const RECT radio = shown.placeOf(shown.control(1001));
  EXPECT_EQ(radio.bottom - radio.top, em);
  const RECT label = shown.placeOf(shown.control(1004));
  EXPECT_EQ(label.bottom - label.top, units.fieldHeight) << "a label is as high as the field beside it";
  EXPECT_NE(shown.control(L"some "), nullptr) << "one static per word";
  EXPECT_NE(shown.control(L"words"), nullptr);
}

TEST_F(MarkupWindow, TheButtonRowReadsItsCaptionsAndEndsWithItsResults) {
  const CShownMarkup shown(
      "<dialog>Go on?<xbutton type=\"yes\"/><xbutton type=\"no\">Nope</xbutton><xbutton type=\"try\"/>"
      "<xbutton type=\"cancel\" default=\"1\"/></dialog>",
      true);
  const struct {
    const wchar_t* caption;
    int result;
  } expected[] = {{L"Sure", IDYES}, {L"Nope", IDNO}, {L"Try again", IDTRYAGAIN}, {L"Cancel", IDCANCEL}};
  LONG previousRight = 0;
  for (const auto& button : expected) {
    SCOPED_TRACE(button.caption);
    const HWND control = shown.control(button.caption);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(::GetDlgCtrlID(control), button.result);
    const RECT place = shown.placeOf(control);
    EXPECT_GT(place.left, previousRight) << "the buttons stand in the markup's order, left to right";
    previousRight = place.right;
  }
  EXPECT_EQ(shown.content().defaultButton(), shown.control(L"Cancel"));
  ASSERT_TRUE(ui::clickControl(shown.window(), L"Try again", ui::ClickBy::Message));
  EXPECT_EQ(shown.commands(), std::vector<int>{IDTRYAGAIN}) << "the dialog is told to end with 10";
}

TEST_F(MarkupWindow, MnemonicsAreChosenInTwoPasses) {
  const CShownMarkup shown(
      "<dialog><checkbox>Off</checkbox><label>Save</label><label>save</label><label amp=\"0\">Name</label>"
      "<label>Options</label><button dialog-id=\"5\">Open</button></dialog>");
  const struct {
    int id;
    const wchar_t* text;
  } expected[] = {{1000, L"O&ff"}, {1001, L"&Save"}, {1002, L"&save"}, {1003, L"Name"}, {1004, L"O&ptions"},
                  {5, L"&Open"}};
  for (const auto& control : expected) {
    EXPECT_EQ(ui::windowText(shown.control(control.id)), control.text);
  }
}

TEST_F(MarkupWindow, ALabelComesRightBeforeItsControlInTheTabOrder) {
  const CShownMarkup shown(
      "<dialog><text id=\"first\"/><label for=\"name\">Name</label><static>between</static><text id=\"name\"/>"
      "<label for=\"first\">First</label><label for=\"nobody\">Alone</label></dialog>");
  const HWND first = shown.control(1000);
  const HWND nameLabel = shown.control(1001);
  const HWND nameField = shown.control(1003);
  const HWND firstLabel = shown.control(1004);
  EXPECT_EQ(::GetWindow(nameField, GW_HWNDPREV), nameLabel);
  EXPECT_EQ(::GetWindow(first, GW_HWNDPREV), nullptr) << "nothing precedes the first field";
  EXPECT_EQ(::GetWindow(firstLabel, GW_HWNDNEXT), nullptr) << "its label goes to the end of the order";
  EXPECT_EQ(::GetWindow(shown.control(1005), GW_HWNDNEXT), firstLabel) << "a label for no control stays";
  std::vector<HWND> order;
  for (const ui::CControl& control : ui::listControls(shown.window())) {
    order.push_back(control.hwnd);
  }
  EXPECT_EQ(order.front(), first);
  EXPECT_EQ(ui::windowText(nameLabel), L"&Name");
}

TEST_F(MarkupWindow, ListColumnsShareTheWidth) {
  const CShownMarkup shown(
      "<dialog><list width=\"203px\" checkbox=\"true\"><column>Name</column><column>Size</column>"
      "<column>Date</column></list></dialog>");
  const HWND list = shown.control(1000);
  RECT client{};
  ::GetClientRect(list, &client);
  const std::vector<std::int32_t> widths =
      sharedColumnWidths(client.right - ::GetSystemMetrics(SM_CXVSCROLL), 3);
  const wchar_t* headers[] = {L"Name", L"Size", L"Date"};
  for (int i = 0; i < 3; ++i) {
    wchar_t text[32] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = text;
    column.cchTextMax = 32;
    ASSERT_TRUE(::SendMessageW(list, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column)));
    EXPECT_STREQ(text, headers[i]);
    EXPECT_EQ(column.cx, widths[i]);
  }
  EXPECT_NE(widths.front(), widths.back()) << "the width does not divide evenly: the last takes the rest";
  const LRESULT extended = ::SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  EXPECT_EQ(extended & (LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES), LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES);
}

TEST_F(MarkupWindow, DisplayNoneHidesEveryControlInside) {
  const CShownMarkup shown(
      "<dialog><div display=\"none\"><button>Hidden</button>secret words<div><text/></div></div>"
      "<button>Shown</button></dialog>",
      true);
  for (const ui::CControl& control : ui::listControls(shown.window())) {
    SCOPED_TRACE(control.text);
    EXPECT_TRUE(control.visible);
    EXPECT_NE(control.text, L"Hidden");
    EXPECT_EQ(control.text.find(L"secret"), std::wstring::npos);
    EXPECT_NE(control.className, L"Edit");
  }
  EXPECT_NE(shown.control(L"Shown"), nullptr);
}

TEST_F(MarkupWindow, FontsFollowTheTextStyles) {
  const CShownMarkup shown(
      "<dialog><static>plain</static><static strong=\"true\">bold</static><button font-size=\"large\">Big</button>"
      "<i><static>slanted</static></i><static>again</static></dialog>");
  const LOGFONTW plain = fontOf(shown.control(1000));
  EXPECT_EQ(fontOf(shown.control(1001)).lfWeight, FW_BOLD);
  EXPECT_EQ(fontOf(shown.control(1002)).lfHeight, plain.lfHeight * 18 / 10);
  EXPECT_TRUE(fontOf(shown.control(1003)).lfItalic);
  EXPECT_EQ(::SendMessageW(shown.control(1004), WM_GETFONT, 0, 0), ::SendMessageW(shown.control(1000), WM_GETFONT, 0, 0))
      << "one font per style";
  TEXTMETRICW metrics{};
  const HDC dc = ::GetDC(shown.window());
  const HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(shown.control(1000), WM_GETFONT, 0, 0)));
  ::GetTextMetricsW(dc, &metrics);
  ::SelectObject(dc, previous);
  ::ReleaseDC(shown.window(), dc);
  EXPECT_EQ(plain.lfHeight, -11) << "MS Shell Dlg at 8 points and 96 DPI";
  EXPECT_EQ(shown.model().em(), metrics.tmHeight) << "the em is the plain text's height";
}

TEST_F(MarkupWindow, FocusAndDefaultButtonAreTheLastThatAskForThem) {
  const CShownMarkup shown(
      "<dialog><button default=\"1\">A</button><button default=\"2\">B</button><text focus=\"true\"/>"
      "<text focus=\"1\"/><text focus=\"false\"/></dialog>");
  EXPECT_EQ(shown.content().defaultButton(), shown.control(1001));
  EXPECT_EQ(shown.content().focusWindow(), shown.control(1003));
}

TEST_F(MarkupWindow, MarkupWhoseRootIsNoDialogIsADialogError) {
  EXPECT_THROW(CShownMarkup("<page><button>Go</button></page>"), XExceptionDlg);
}

// The gallery uses every element; every window stands where layout put it,
// inside the client area, and a screenshot is left for a person to look at.
TEST_F(MarkupWindow, TheGalleryIsLaidOutAsLayoutSays) {
  const CShownMarkup shown(fileText(BRANTEL_DIALOG_TEST_DATA "/gallery.xml"), true);
  RECT client{};
  ::GetClientRect(shown.window(), &client);
  EXPECT_EQ(client.right, shown.content().clientSize().cx);
  EXPECT_EQ(client.bottom, shown.content().clientSize().cy);
  std::vector<std::pair<std::wstring, RECT>> places;
  forEachShownWindow(*shown.model().root, [&](const CDialogNode& node, const CBoxRect& rect) {
    SCOPED_TRACE(node.name);
    const RECT place = shown.placeOf(node.window);
    EXPECT_EQ(rectText(place), rectText(rect));
    EXPECT_TRUE(place.left >= 0 && place.top >= 0 && place.right <= client.right && place.bottom <= client.bottom)
        << "outside the client area: " << rectText(place).c_str();
    EXPECT_TRUE(::IsWindowVisible(node.window));
    places.emplace_back(node.name, place);
  });
  EXPECT_GT(places.size(), 40u);
  for (std::size_t i = 0; i < places.size(); ++i) {
    for (std::size_t j = i + 1; j < places.size(); ++j) {
      RECT common{};
      EXPECT_FALSE(::IntersectRect(&common, &places[i].second, &places[j].second))
          << "overlap: " << places[i].first.c_str() << " and " << places[j].first.c_str();
    }
  }
  EXPECT_EQ(shown.control(L"Never seen"), nullptr);

  const HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  ASSERT_EQ(dpi, 96) << "the screenshot is named for 96 DPI";
  ::SetForegroundWindow(shown.window());
  ::RedrawWindow(shown.window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const std::wstring folder = support::buildDir() + L"\\test-screens";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  EXPECT_TRUE(ui::saveScreenshot(folder + L"\\markup-gallery-96.png"));
}

// Run with the display at 192 DPI (tests/dialog/wine-dpi.sh): a window of a
// process that follows each monitor's DPI gets fonts of twice the pixels,
// and the dialog's metrics are still those of 96 DPI.
TEST_F(MarkupWindowAt192Dpi, TheMetricsAreThoseOf96Dpi) {
  ASSERT_TRUE(::SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE));
  const HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  ASSERT_EQ(dpi, 192) << "the entry sets the display to 192 DPI";

  const CMarkupBundle bundle({{"strings/default.xml", CMarkupBundle::stringTable({})}});
  DialogModel at96 = preparedModel("<dialog><static>plain</static></dialog>");
  DialogModel at192 = preparedModel("<dialog><static>plain</static></dialog>");
  at96.dpi.window = 96;
  at192.dpi.window = 192;
  CHostWindow host96;
  CHostWindow host192;
  host96.CreateEx(0, nullptr, kCaption, WS_OVERLAPPED | WS_CAPTION, RECT{0, 0, 200, 100}, nullptr);
  host192.CreateEx(0, nullptr, kCaption, WS_OVERLAPPED | WS_CAPTION, RECT{0, 0, 200, 100}, nullptr);
  {
    const CMarkupWindowContent content96(at96, host96.GetSafeHwnd());
    const CMarkupWindowContent content192(at192, host192.GetSafeHwnd());
    EXPECT_EQ(fontOf(at96.root->firstChild()->window).lfHeight, -11);
    EXPECT_EQ(fontOf(at192.root->firstChild()->window).lfHeight, -21) << "the window's own font follows the DPI";
    EXPECT_EQ(at192.metrics.textHeight, at96.metrics.textHeight);
    EXPECT_EQ(at192.metrics.averageCharWidth, at96.metrics.averageCharWidth);
    host96.DestroyWindow();
    host192.DestroyWindow();
  }
}

// A 24-bit bottom-up BMP file of the size, all one grey.
std::string greyBitmapFile(int width, int height) {
  const int stride = (width * 3 + 3) / 4 * 4;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  bytes.append(static_cast<std::size_t>(stride * height), '\x80');
  return bytes;
}

TEST(MarkupWindowPicture, APictureOfTheBundleIsShownAtItsOwnSize) {
  const CComApartment apartment;
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  ASSERT_TRUE(::InitCommonControlsEx(&classes));
  const CMarkupBundle bundle({{"strings/default.xml", CMarkupBundle::stringTable({})},
                              {"pictures/grey.bmp", greyBitmapFile(6, 4)}});
  const CShownMarkup shown(
      "<dialog><image src=\"pictures/grey.bmp, pictures/other.bmp\"/>"
      "<image src=\"pictures/grey.bmp\" align=\"center\" width=\"20px\" height=\"10px\"/></dialog>");
  const HWND own = shown.control(1000);
  EXPECT_EQ(::GetWindowLongPtrW(own, GWL_STYLE) & (SS_TYPEMASK | SS_CENTERIMAGE), SS_BITMAP);
  EXPECT_NE(::SendMessageW(own, STM_GETIMAGE, IMAGE_BITMAP, 0), 0) << "the first name of src is loaded";
  const RECT ownPlace = shown.placeOf(own);
  EXPECT_EQ(rectText(RECT{0, 0, ownPlace.right - ownPlace.left, ownPlace.bottom - ownPlace.top}), L"0,0,6,4");
  const HWND sized = shown.control(1001);
  EXPECT_EQ(::GetWindowLongPtrW(sized, GWL_STYLE) & (SS_TYPEMASK | SS_CENTERIMAGE), SS_BITMAP | SS_CENTERIMAGE);
  const RECT sizedPlace = shown.placeOf(sized);
  EXPECT_EQ(rectText(RECT{0, 0, sizedPlace.right - sizedPlace.left, sizedPlace.bottom - sizedPlace.top}),
            L"0,0,20,10")
      << "the markup's size wins over the picture's";
}

}  // namespace
