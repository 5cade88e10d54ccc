// A window of the framework layer made with CreateEx: its object sees it from
// its first message to its last, and lets go of it when it is destroyed.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "app/exception.h"
#include "frame/wnd.h"
#include "support/ui_driver.h"

namespace {

constexpr wchar_t kCaption[] = L"Frame Test Window";
constexpr UINT kEchoMessage = WM_APP + 7;

class CRecordingWindow : public frame::CWnd {
public:
  std::vector<UINT> seen;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_NCCREATE || message == WM_CREATE || message == WM_DESTROY || message == WM_NCDESTROY) {
      seen.push_back(message);
    }
    if (message == kEchoMessage) {
      return static_cast<LRESULT>(wParam + 1);
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

TEST(FrameWindow, SeesItsWindowFromTheFirstMessageToTheLastAndThenLetsGo) {
  CRecordingWindow window;
  window.CreateEx(0, nullptr, kCaption, WS_POPUP | WS_CAPTION | WS_VISIBLE, RECT{60, 60, 360, 220}, nullptr);
  const HWND handle = window.GetSafeHwnd();
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(ui::waitForWindow({.caption = kCaption, .processId = ::GetCurrentProcessId()}), handle);
  EXPECT_EQ(frame::CWnd::FromHandlePermanent(handle), &window);
  EXPECT_EQ(::SendMessageW(handle, kEchoMessage, 41, 0), 42);

  window.DestroyWindow();
  EXPECT_FALSE(::IsWindow(handle));
  EXPECT_EQ(window.GetSafeHwnd(), nullptr);
  EXPECT_EQ(frame::CWnd::FromHandlePermanent(handle), nullptr);
  const std::vector<UINT> expected{WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY};
  EXPECT_EQ(window.seen, expected);
}

TEST(FrameWindow, AWindowThatRefusesToBeMadeFailsAsADialogError) {
  class CRefusing : public frame::CWnd {
  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      return message == WM_NCCREATE ? FALSE : CWnd::WindowProc(message, wParam, lParam);
    }
  } refusing;
  EXPECT_THROW(refusing.CreateEx(0, nullptr, kCaption, WS_POPUP, RECT{0, 0, 10, 10}, nullptr), XExceptionDlg);
  EXPECT_EQ(refusing.GetSafeHwnd(), nullptr);
}

}  // namespace
