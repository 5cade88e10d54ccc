// The framework layer's modal dialog, run from a template built in memory on
// a thread of the test program, seen and operated through the UI driver.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cwctype>
#include <string>
#include <vector>

#include "app/exception.h"
#include "base/gdi_handles.h"
#include "frame/dialog.h"
#include "frame/failure_report.h"
#include "frame/modal_run.h"
#include "frame/test_dialog.h"
#include "frame/win_app.h"
#include "support/paths.h"
#include "support/polling.h"
#include "support/ui_driver.h"

using frame_test::CModalRun;
using frame_test::CTestDialog;
using frame_test::Failure;

namespace {

constexpr DWORD kLimitMs = 15000;

// Message boxes take their caption from the application object.
class CTestApp : public frame::CWinApp {
public:
  CTestApp() { setAppName(frame_test::kAppName); }
};
CTestApp theTestApp;

std::wstring lowerCase(std::wstring text) {
  for (wchar_t& unit : text) {
    unit = static_cast<wchar_t>(std::towlower(unit));
  }
  return text;
}

// A rectangle in dialog units as the dialog maps it to client pixels: the
// position and the size each on their own, as the dialog places its items.
RECT pixelsOf(HWND dialog, short x, short y, short width, short height) {
  RECT mapped{x, y, width, height};
  ::MapDialogRect(dialog, &mapped);
  return RECT{mapped.left, mapped.top, mapped.left + mapped.right, mapped.top + mapped.bottom};
}

RECT clientRectOf(HWND control) {
  RECT rect{};
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool sameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::wstring rectText(const RECT& r) {
  return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," + std::to_wstring(r.right) + L"," +
         std::to_wstring(r.bottom);
}

// The dialog's font as the window uses it.
std::optional<LOGFONTW> dialogFont(HWND dialog) {
  DWORD_PTR font = 0;
  if (!::SendMessageTimeoutW(dialog, WM_GETFONT, 0, 0, SMTO_ABORTIFHUNG, kLimitMs, &font) || !font) {
    return std::nullopt;
  }
  LOGFONTW description{};
  if (!::GetObjectW(reinterpret_cast<HFONT>(font), sizeof description, &description)) {
    return std::nullopt;
  }
  return description;
}

// A picture of the screen under the build tree, for a person to look at.
std::wstring saveScreen(const wchar_t* name) {
  const std::wstring folder = support::buildDir() + L"\\test-screens";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring path = folder + L"\\" + name + L".png";
  return ui::saveScreenshot(path) ? path : std::wstring();
}

class DialogTest : public testing::Test {
protected:
  void SetUp() override {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
    ASSERT_TRUE(::InitCommonControlsEx(&classes));
  }

  // The dialog of the run once it shows and is the active window, ready for
  // a person's clicks and keys.
  static HWND shown(const wchar_t* caption = frame_test::kDialogCaption) {
    const HWND window = ui::waitForWindow({.caption = caption, .processId = ::GetCurrentProcessId()}, kLimitMs);
    const bool active = ui::pollUntil(kLimitMs, [window] { return ::GetForegroundWindow() == window; });
    return active ? window : nullptr;
  }
};

using DialogTemplate = DialogTest;
using Dialog = DialogTest;

TEST_F(DialogTemplate, TheDialogShowsItsCaptionStylesSizeAndEveryItemAsAsked) {
  const CScopedScreenDC screen(::GetDC(nullptr));
  ASSERT_EQ(::GetDeviceCaps(screen.get(), LOGPIXELSY), 96) << "the screenshot is named for 96 DPI";
  CTestDialog dialog;
  CModalRun run(dialog);
  const HWND window = shown();
  ASSERT_NE(window, nullptr);

  const frame::CDialogTemplateHeader header = frame_test::testDialogHeader();
  EXPECT_EQ(ui::windowText(window), header.caption);
  EXPECT_EQ(ui::windowClass(window), L"#32770");
  const DWORD style = static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE));
  EXPECT_EQ(style & header.style, header.style);
  const DWORD exStyle = static_cast<DWORD>(::GetWindowLongW(window, GWL_EXSTYLE));
  EXPECT_EQ(exStyle & header.exStyle, header.exStyle);
  RECT client{};
  ::GetClientRect(window, &client);
  EXPECT_PRED2(sameRect, client, pixelsOf(window, 0, 0, header.width, header.height));

  for (const frame::CDialogTemplateItem& item : frame_test::testDialogItems()) {
    SCOPED_TRACE(item.className + L" " + std::to_wstring(item.id));
    const std::optional<ui::CControl> control = ui::findControl(window, static_cast<int>(item.id));
    ASSERT_TRUE(control);
    EXPECT_EQ(lowerCase(control->className), lowerCase(item.className));
    EXPECT_TRUE(control->visible);
    if (item.id != frame_test::kStatusId) {  // the initialisation writes the status line
      EXPECT_EQ(control->text, item.text);
    }
    // The low bits are the control's kind (push or default button...): all of
    // them must be as asked.
    const DWORD checked = item.style | 0xF;
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongW(control->hwnd, GWL_STYLE)) & checked, item.style);
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongW(control->hwnd, GWL_EXSTYLE)) & item.exStyle, item.exStyle);
    const RECT expected = pixelsOf(window, item.x, item.y, item.width, item.height);
    EXPECT_PRED2(sameRect, clientRectOf(control->hwnd), expected) << rectText(clientRectOf(control->hwnd))
                                                                   << " for " << rectText(expected);
  }

  EXPECT_FALSE(saveScreen(L"frame_dialog_96dpi").empty());
  ASSERT_TRUE(ui::clickControl(window, L"Cancel"));
  EXPECT_EQ(run.waitResult(kLimitMs), IDCANCEL);
}

TEST_F(DialogTemplate, TheHeaderFontIsTheDialogFontOnlyWhenTheStyleAsksForOne) {
  struct CCase {
    DWORD fontStyle;
    frame::CDialogTemplateFont font;
  };
  const CCase cases[] = {
      {DS_SETFONT, {.pointSize = 8, .face = L"MS Shell Dlg"}},
      {DS_SHELLFONT, {.pointSize = 12, .weight = FW_BOLD, .italic = true, .face = L"Tahoma"}},
      {0, {.pointSize = 20, .face = L"Not written"}},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.font.face);
    frame::CDialogTemplate dialogTemplate({.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | c.fontStyle,
                                           .width = 120,
                                           .height = 40,
                                           .caption = frame_test::kDialogCaption,
                                           .font = c.font});
    dialogTemplate.addItem({.className = L"BUTTON", .text = L"Cancel", .id = IDCANCEL,
                            .style = WS_CHILD | WS_VISIBLE | WS_TABSTOP, .x = 35, .y = 15, .width = 50, .height = 14});
    frame::CDialog dialog;
    dialog.InitModalIndirect(dialogTemplate.get());
    CModalRun run(dialog);
    const HWND window = shown();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(ui::findControl(window, L"Cancel")) << "the item after the header was read where it stands";

    const std::optional<LOGFONTW> font = dialogFont(window);
    if (c.fontStyle == 0) {
      EXPECT_FALSE(font) << "a dialog without DS_SETFONT uses the system font";
    } else {
      ASSERT_TRUE(font);
      EXPECT_STREQ(font->lfFaceName, c.font.face.c_str());
      EXPECT_EQ(font->lfHeight, -::MulDiv(c.font.pointSize, 96, 72));
      EXPECT_EQ(font->lfWeight, c.font.weight);
      EXPECT_EQ(font->lfItalic != 0, c.font.italic);
    }
    ASSERT_TRUE(ui::clickControl(window, L"Cancel"));
    EXPECT_EQ(run.waitResult(kLimitMs), IDCANCEL);
  }
}

TEST_F(DialogTemplate, ADialogThatCannotBeMadeFailsAsADialogError) {
  frame::CDialog withoutTemplate;
  EXPECT_THROW(withoutTemplate.DoModal(), XExceptionDlg);

  frame::CDialogTemplate dialogTemplate({.caption = frame_test::kDialogCaption});
  dialogTemplate.addItem({.className = L"NoSuchControlClass", .id = 1, .style = WS_CHILD | WS_VISIBLE,
                          .width = 10, .height = 10});
  frame::CDialog withoutItsControl;
  withoutItsControl.InitModalIndirect(dialogTemplate.get());
  CModalRun run(withoutItsControl);
  EXPECT_FALSE(run.waitResult(kLimitMs));
  EXPECT_TRUE(run.threw());
}

TEST_F(Dialog, TheHooksRunInOrderAndTheInitialExchangeFillsTheControls) {
  CTestDialog dialog;
  dialog.name = L"Ada Lovelace";
  CModalRun run(dialog);
  const HWND window = shown();
  ASSERT_NE(window, nullptr);

  EXPECT_EQ(ui::windowText(::GetDlgItem(window, frame_test::kStatusId)), frame_test::kInitialisedText);
  EXPECT_EQ(ui::windowText(::GetDlgItem(window, frame_test::kNameId)), L"Ada Lovelace");
  ASSERT_TRUE(ui::clickControl(window, L"Cancel"));
  EXPECT_EQ(run.waitResult(kLimitMs), IDCANCEL);
  // The window procedure saw the window's first message too; Cancel saves
  // nothing.
  const std::vector<std::wstring> expected{L"nccreate", L"pre-init", L"init", L"load"};
  EXPECT_EQ(dialog.hooks, expected);
}

TEST_F(Dialog, EndsWithTheResultOfWhatThePersonDid) {
  enum class Act { Click, Key, CloseBox };
  struct CCase {
    const wchar_t* what;
    Act act;
    int target;  // a control id, or a virtual key with the focus in the name field
    INT_PTR result;
    bool saved;
  };
  const CCase cases[] = {
      {L"OK clicked", Act::Click, IDOK, IDOK, true},
      {L"Enter", Act::Key, VK_RETURN, IDOK, true},
      {L"Cancel clicked", Act::Click, IDCANCEL, IDCANCEL, false},
      {L"Escape", Act::Key, VK_ESCAPE, IDCANCEL, false},
      {L"the close box", Act::CloseBox, 0, IDCANCEL, false},
      {L"a button of its own", Act::Click, frame_test::kRetryId, frame_test::kRetryResult, false},
      {L"a click in the list (a notification)", Act::Click, frame_test::kListId, frame_test::kListClickResult,
       false},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.what);
    CTestDialog dialog;
    CModalRun run(dialog);
    const HWND window = shown();
    ASSERT_NE(window, nullptr);
    if (c.act == Act::Click) {
      ASSERT_TRUE(ui::clickControl(window, c.target));
    } else if (c.act == Act::CloseBox) {
      // What a click on the caption's close box sends; the test display has
      // no window manager to draw the box.
      ASSERT_TRUE(::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0));
    } else {
      ASSERT_TRUE(ui::clickControl(window, frame_test::kNameId));
      ASSERT_TRUE(frame_test::pressKey(window, static_cast<WORD>(c.target)));
    }
    EXPECT_EQ(run.waitResult(kLimitMs), c.result);
    const bool saved = !dialog.hooks.empty() && dialog.hooks.back() == L"save";
    EXPECT_EQ(saved, c.saved);
  }
}

TEST_F(Dialog, OkSavesWhatWasTypedAndARefusedSaveKeepsTheDialogOpen) {
  CTestDialog dialog;
  dialog.nameRequired = true;
  CModalRun run(dialog);
  const HWND window = shown();
  ASSERT_NE(window, nullptr);

  ASSERT_TRUE(ui::clickControl(window, L"OK"));
  const auto box = ui::waitForMessageBox(frame_test::kAppName, kLimitMs, ::GetCurrentProcessId());
  ASSERT_TRUE(box) << "no message box";
  EXPECT_EQ(box->text, frame_test::kNameMissingText);
  EXPECT_EQ(box->icon, ui::Icon::Warning);
  ASSERT_TRUE(ui::clickControl(box->hwnd, L"OK"));
  ASSERT_TRUE(ui::waitWindowGone(box->hwnd));

  // Still open: the name can be typed and confirmed.
  ASSERT_TRUE(ui::typeText(window, frame_test::kNameId, L"Grace Hopper"));
  ASSERT_TRUE(ui::clickControl(window, L"OK"));
  EXPECT_EQ(run.waitResult(kLimitMs), IDOK);
  EXPECT_EQ(dialog.name, L"Grace Hopper");
}

TEST_F(Dialog, AFailingHandlerIsShownOverTheDialogWhichGoesOn) {
  struct CCase {
    Failure failure;
    const wchar_t* text;
  };
  const CCase cases[] = {
      {Failure::FamilyMember, frame_test::kHandlerFailureText},
      {Failure::Foreign, frame::kUnexpectedFailureText},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.text);
    CTestDialog dialog;
    dialog.failInButton = c.failure;
    CModalRun run(dialog);
    const HWND window = shown();
    ASSERT_NE(window, nullptr);

    ASSERT_TRUE(ui::clickControl(window, L"Fail"));
    const auto box = ui::waitForMessageBox(frame_test::kAppName, kLimitMs, ::GetCurrentProcessId());
    ASSERT_TRUE(box) << "no message box";
    EXPECT_EQ(box->text, c.text);
    EXPECT_EQ(box->icon, ui::Icon::Error);
    EXPECT_EQ(::GetWindow(box->hwnd, GW_OWNER), window);
    ASSERT_TRUE(ui::clickControl(box->hwnd, L"OK"));

    ASSERT_TRUE(ui::clickControl(window, L"Retry"));
    EXPECT_EQ(run.waitResult(kLimitMs), frame_test::kRetryResult);
  }
}

TEST_F(Dialog, AFailingInitialisationIsShownAndTheDialogStillOpens) {
  CTestDialog dialog;
  dialog.failInInit = Failure::FamilyMember;
  CModalRun run(dialog);
  const auto box = ui::waitForMessageBox(frame_test::kAppName, kLimitMs, ::GetCurrentProcessId());
  ASSERT_TRUE(box) << "no message box";
  EXPECT_EQ(box->text, frame_test::kHandlerFailureText);
  EXPECT_EQ(box->icon, ui::Icon::Error);
  ASSERT_TRUE(ui::clickControl(box->hwnd, L"OK"));

  const HWND window = shown();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(ui::clickControl(window, L"OK"));
  EXPECT_EQ(run.waitResult(kLimitMs), IDOK);
}

TEST_F(Dialog, ADialogOpenedFromAHandlerIsADialogOfItsOwnOverTheFirst) {
  CTestDialog inner(frame_test::kInnerCaption);
  CTestDialog outer;
  outer.inner = &inner;
  CModalRun run(outer);
  const HWND outerWindow = shown();
  ASSERT_NE(outerWindow, nullptr);

  ASSERT_TRUE(ui::clickControl(outerWindow, L"Open"));
  const HWND innerWindow = shown(frame_test::kInnerCaption);
  ASSERT_NE(innerWindow, nullptr);
  EXPECT_EQ(::GetWindow(innerWindow, GW_OWNER), outerWindow);
  EXPECT_FALSE(::IsWindowEnabled(outerWindow)) << "the first dialog waits for the second";
  ASSERT_TRUE(ui::clickControl(innerWindow, L"OK"));
  ASSERT_TRUE(ui::waitWindowGone(innerWindow, kLimitMs));

  EXPECT_EQ(ui::windowText(::GetDlgItem(outerWindow, frame_test::kStatusId)), frame_test::innerEndedText(IDOK));
  ASSERT_TRUE(ui::clickControl(outerWindow, L"Cancel"));
  EXPECT_EQ(run.waitResult(kLimitMs), IDCANCEL);
  // Each object saw its own window from the first message on.
  const std::vector<std::wstring> innerHooks{L"nccreate", L"pre-init", L"init", L"load", L"save"};
  EXPECT_EQ(inner.hooks, innerHooks);
  const std::vector<std::wstring> outerHooks{L"nccreate", L"pre-init", L"init", L"load"};
  EXPECT_EQ(outer.hooks, outerHooks);
}

TEST_F(Dialog, AnyMessageReachesTheWindowProcedureAndItsAnswerTheSender) {
  CTestDialog dialog;
  CModalRun run(dialog);
  const HWND window = shown();
  ASSERT_NE(window, nullptr);
  DWORD_PTR answer = 0;
  ASSERT_TRUE(::SendMessageTimeoutW(window, frame_test::kEchoMessage, 41, 0, SMTO_ABORTIFHUNG, kLimitMs, &answer));
  EXPECT_EQ(answer, 42u);
  ASSERT_TRUE(ui::clickControl(window, L"Cancel"));
  EXPECT_EQ(run.waitResult(kLimitMs), IDCANCEL);
}

}  // namespace
