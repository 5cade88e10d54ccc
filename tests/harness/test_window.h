// A window with a few controls on a thread of its own, for tests that drive
// it from the test thread the way they drive the setup's windows.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "base/scoped_handle.h"

namespace harness {

inline constexpr int kEditId = 100;
inline constexpr int kLimitedEditId = 101;
inline constexpr int kNumberEditId = 102;
inline constexpr int kApplyId = 110;
inline constexpr int kDisabledId = 111;
inline constexpr int kHiddenId = 112;
inline constexpr int kCoveredId = 113;
inline constexpr int kMarkerId = 114;
inline constexpr int kLimitedEditLength = 5;
// The client area outside the controls is painted in this colour.
inline constexpr COLORREF kFillColour = RGB(0xFF, 0x00, 0xFF);

class CTestWindow {
public:
  // Shows the window (caption `caption`) and returns once it is on screen.
  explicit CTestWindow(std::wstring caption);
  ~CTestWindow();
  CTestWindow(const CTestWindow&) = delete;
  CTestWindow& operator=(const CTestWindow&) = delete;

  HWND hwnd() const { return window_; }
  // How often a button reported a click (BN_CLICKED).
  int clicks(int buttonId) const;
  // A point of the client area that only the fill colour covers, in screen
  // coordinates.
  POINT fillPoint() const;

private:
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void run();
  void createControls();

  std::wstring caption_;
  std::atomic<HWND> window_{nullptr};
  CScopedHandle ready_;
  std::atomic<int> applyClicks_{0};
  std::atomic<int> disabledClicks_{0};
  std::atomic<int> hiddenClicks_{0};
  std::atomic<int> coveredClicks_{0};
  std::atomic<int> markerClicks_{0};
  std::thread thread_;
};

}  // namespace harness
