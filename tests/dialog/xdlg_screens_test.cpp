// Every markup file of ui/, from the bundle setup.exe carries, shown as the
// dialog the setup shows, photographed under the build tree's test-screens
// at 96 DPI and at 192 DPI (tests/dialog/wine-dpi.sh sets the display's DPI
// of the fresh prefix), and checked for what a program can see: every
// control inside the client area, no two controls on top of each other, and
// at 192 DPI a window larger than the same markup's at 96.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dialog/dpi_api_win.h"
#include "dialog/xdlg.h"
#include "frame/modal_run.h"
#include "support/paths.h"
#include "support/ui_driver.h"

namespace {

constexpr DWORD kEndMs = 10000;

const char* const kMarkupFiles[] = {
    "stddlg.xml",         "dlg/wiz.xml",    "dlg/welcome.xml",
    "dlg/hasupdate.xml",  "dlg/already-installed.xml", "dlg/finish.xml",
    "dlg/msg-cant-check-version.xml", "dlg/need-restart.xml", "dlg/downloading.xml",
};

int displayDpi() {
  const HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi;
}

std::wstring screensFolder() {
  const std::wstring folder = support::buildDir() + L"\\test-screens";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

// "dlg/welcome.xml" -> "xdlg-dlg-welcome"
std::wstring shotName(const std::string& markup) {
  std::wstring name = L"xdlg-";
  for (const char c : markup.substr(0, markup.rfind('.'))) {
    name += c == '/' ? L'-' : static_cast<wchar_t>(c);
  }
  return name;
}

// The window's size as the 96 DPI entry wrote it down for the 192 DPI entry.
std::wstring sizeFile(const std::string& markup) { return screensFolder() + L"\\" + shotName(markup) + L"-96.size"; }

RECT placeOf(HWND control, HWND window) {
  RECT rect{};
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::string rectText(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// The dialog's own visible controls (not the windows inside a control).
std::vector<ui::CControl> shownControls(HWND window) {
  std::vector<ui::CControl> shown;
  for (const ui::CControl& control : ui::listControls(window)) {
    if (control.visible && ::GetParent(control.hwnd) == window) {
      shown.push_back(control);
    }
  }
  return shown;
}

void checkPlaces(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  const std::vector<ui::CControl> controls = shownControls(window);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const RECT place = placeOf(controls[i].hwnd, window);
    SCOPED_TRACE(narrow(controls[i].text) + " at " + rectText(place));
    EXPECT_TRUE(place.left >= 0 && place.top >= 0 && place.right <= client.right && place.bottom <= client.bottom)
        << "outside the client area " << rectText(client);
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      RECT common{};
      const RECT other = placeOf(controls[j].hwnd, window);
      EXPECT_FALSE(::IntersectRect(&common, &place, &other))
          << "overlaps " << narrow(controls[j].text) << " at " << rectText(other);
    }
  }
}

SIZE windowSize(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

// Shows the markup, checks it, photographs it and closes it; answers the
// window's size.
SIZE showAndPhotograph(const std::string& markup, int dpi) {
  SCOPED_TRACE(markup);
  XDlg dialog(markup, nullptr);
  frame_test::CModalRun run(dialog);
  const HWND window = ui::waitForWindow({L"", L"#32770"});
  EXPECT_NE(window, nullptr) << "the dialog did not open";
  if (!window) {
    return {};
  }
  checkPlaces(window);
  const SIZE size = windowSize(window);
  ::SetForegroundWindow(window);
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_TRUE(ui::saveScreenshot(screensFolder() + L"\\" + shotName(markup) + L"-" + std::to_wstring(dpi) + L".png"));
  ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(run.waitResult(kEndMs).has_value()) << "the dialog did not close";
  return size;
}

class XDlgScreens : public testing::Test {
protected:
  void SetUp() override {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                       ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_LINK_CLASS | ICC_PROGRESS_CLASS};
    ASSERT_TRUE(::InitCommonControlsEx(&classes));
  }
};

class XDlgScreensAt96 : public XDlgScreens {};
class XDlgScreensAt192 : public XDlgScreens {};
class XDlgScreensPerMonitorAt192 : public XDlgScreens {};

TEST_F(XDlgScreensAt96, EveryMarkupFileOpensInPlace) {
  ASSERT_EQ(displayDpi(), 96);
  for (const char* markup : kMarkupFiles) {
    const SIZE size = showAndPhotograph(markup, 96);
    std::ofstream(std::filesystem::path(sizeFile(markup))) << size.cx << ' ' << size.cy << '\n';
  }
}

// Runs after the 96 DPI entry, whose sizes it reads.
TEST_F(XDlgScreensAt192, EveryMarkupFileOpensInPlaceAndLarger) {
  ASSERT_EQ(displayDpi(), 192) << "the entry sets the display to 192 DPI";
  for (const char* markup : kMarkupFiles) {
    SCOPED_TRACE(markup);
    SIZE at96{};
    std::ifstream(std::filesystem::path(sizeFile(markup))) >> at96.cx >> at96.cy;
    ASSERT_GT(at96.cx, 0) << "no size from the 96 DPI entry";
    const SIZE at192 = showAndPhotograph(markup, 192);
    EXPECT_GT(at192.cx, at96.cx * 3 / 2);
    EXPECT_GT(at192.cy, at96.cy * 3 / 2);
  }
}

// A process that follows each monitor's DPI lays the dialog out at 96 DPI
// and scales it to its monitor's 192 as it opens: twice the 96 DPI window's
// client area, and fonts made once from those of 96 DPI.  Runs after the 96
// DPI entry, whose sizes it reads.
TEST_F(XDlgScreensPerMonitorAt192, TheDialogIsScaledToTheMonitor) {
  ASSERT_TRUE(::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE) ||
              ::GetLastError() == ERROR_ACCESS_DENIED)
      << "the awareness of a process is set once";
  ASSERT_TRUE(CDpiApi::instance().perMonitorAware());
  ASSERT_EQ(displayDpi(), 192) << "the entry sets the display to 192 DPI";
  const std::string markup = "dlg/msg-cant-check-version.xml";
  SIZE at96{};
  std::ifstream(std::filesystem::path(sizeFile(markup))) >> at96.cx >> at96.cy;
  ASSERT_GT(at96.cx, 0) << "no size from the 96 DPI entry";
  XDlg dialog(markup, nullptr);
  frame_test::CModalRun run(dialog);
  const HWND window = ui::waitForWindow({L"", L"#32770"});
  ASSERT_NE(window, nullptr);
  checkPlaces(window);
  const HWND words = ui::findControl(window, L"Setup ")->hwnd;
  LOGFONTW font{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(words, WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -20) << "8 points at 96 DPI (-11) doubled, and two pixels less";
  const SIZE at192 = windowSize(window);
  EXPECT_GT(at192.cx, at96.cx * 3 / 2);
  EXPECT_GT(at192.cy, at96.cy * 3 / 2);
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_TRUE(ui::saveScreenshot(screensFolder() + L"\\" + shotName(markup) + L"-192-per-monitor.png"));
  ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(run.waitResult(kEndMs).has_value());
}

}  // namespace
