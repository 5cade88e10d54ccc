// A dialog of the frame layer run modally on a thread of its own, so that
// the test thread can look at it and operate it as a person would.
#pragma once

#include <windows.h>

#include <atomic>
#include <optional>
#include <thread>

#include "frame/dialog.h"

namespace frame_test {

class CModalRun {
public:
  explicit CModalRun(frame::CDialog& dialog);
  // Whatever a failed test left open is cancelled, so the thread can end.
  ~CModalRun();
  CModalRun(const CModalRun&) = delete;
  CModalRun& operator=(const CModalRun&) = delete;

  // DoModal's result once the dialog has ended within the time limit.
  std::optional<INT_PTR> waitResult(DWORD timeoutMs);
  // True when DoModal threw instead of answering (once it has ended).
  bool threw() const { return threw_; }

private:
  std::atomic<DWORD> threadId_{0};
  std::atomic<bool> ended_{false};
  std::atomic<bool> threw_{false};
  std::atomic<INT_PTR> result_{0};
  std::thread thread_;
};

// Presses and releases a key with the window in the foreground, as a person
// at the keyboard would; false when the window cannot be brought forward.
bool pressKey(HWND window, WORD virtualKey);

}  // namespace frame_test
