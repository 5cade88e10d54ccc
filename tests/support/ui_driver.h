// Looks at and operates windows the way a person at the screen would, for the
// Windows tests and for uidriver.exe.
//
// Windows are found by polling until a time limit, since the program under
// test shows them on its own schedule (another thread or another process).
// Every operation works across processes; where Wine gives a foreign process
// less than the owner (icon handles), the driver reads the screen instead.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace ui {

inline constexpr DWORD kDefaultTimeoutMs = 10000;

// What a top-level window must match; empty fields match anything.
struct CWindowQuery {
  std::wstring caption{};    // the whole window text
  std::wstring className{};  // "#32770" for dialogs and message boxes
  DWORD processId = 0;       // 0: any process
};

// The first visible top-level window that matches, or nullptr when none
// appeared within the time limit.
HWND waitForWindow(const CWindowQuery& query, DWORD timeoutMs = kDefaultTimeoutMs);

// True once the window no longer exists or is hidden, within the time limit.
bool waitWindowGone(HWND window, DWORD timeoutMs = kDefaultTimeoutMs);

// The current text, also of another process's edit field.
std::wstring windowText(HWND window);
std::wstring windowClass(HWND window);

// A control text as it reads: "&Next" is "Next", "A && B" is "A & B".
std::wstring withoutMnemonics(const std::wstring& text);

struct CControl {
  HWND hwnd = nullptr;
  int id = 0;
  std::wstring className;
  std::wstring text;
  bool visible = false;
  bool enabled = false;
};

// All child windows of a window, nested ones included, in z-order.
std::vector<CControl> listControls(HWND window);

// The first control with that text (mnemonics ignored) or id.
std::optional<CControl> findControl(HWND window, const std::wstring& text);
std::optional<CControl> findControl(HWND window, int id);

enum class ClickBy {
  Mouse,    // a real left click at the control's centre (SendInput)
  Message,  // BM_CLICK, which also reaches a covered button
};

// Clicks a visible, enabled control; false when there is none, or (by mouse)
// when something covers its centre: a person could not click it either.  By
// text, a button is preferred to a label with the same text.
bool clickControl(HWND window, const std::wstring& text, ClickBy how = ClickBy::Mouse);
bool clickControl(HWND window, int id, ClickBy how = ClickBy::Mouse);

// Replaces the content of an edit field as a person who selects everything and
// types: one WM_CHAR per character, so the field's limits and notifications
// apply.  False when there is no visible, enabled control with that id.
bool typeText(HWND window, int editId, const std::wstring& text);

enum class Icon { None, Error, Warning, Information, Question, Other };
const wchar_t* iconName(Icon icon);

struct CMessageBox {
  HWND hwnd = nullptr;
  std::wstring caption;
  std::wstring text;
  Icon icon = Icon::None;
  std::vector<std::wstring> buttons;  // texts without mnemonics, left to right
};

// Reads a shown message box: a "#32770" window with a static text.
std::optional<CMessageBox> readMessageBox(HWND window);

// Waits for a message box with that caption and reads it.
std::optional<CMessageBox> waitForMessageBox(const std::wstring& caption = L"Brantel",
                                             DWORD timeoutMs = kDefaultTimeoutMs, DWORD processId = 0);

// Shorthands for a box already found; empty text and Icon::Other when the
// window is no message box.
std::wstring messageBoxText(HWND window);
Icon messageBoxIcon(HWND window);

// Which standard icon an icon control shows: from its handle when the control
// belongs to this process, else by comparing its pixels on the screen with the
// standard icons drawn here.
Icon identifyIcon(HWND iconControl);

// Writes the whole screen to a file: PNG through WIC when the name ends in
// ".png", else a 32-bit BMP.  False (and no file) on failure.
bool saveScreenshot(const std::wstring& path);

}  // namespace ui
