// A message box shown by a thread of the test program, as the setup's pages
// show theirs while the test thread looks on.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "support/polling.h"

namespace harness {

class CMessageBoxThread {
public:
  CMessageBoxThread(std::wstring caption, std::wstring text, UINT flags)
      : thread_([this, caption = std::move(caption), text = std::move(text), flags] {
          threadId_ = ::GetCurrentThreadId();
          result_ = ::MessageBoxW(nullptr, text.c_str(), caption.c_str(), flags);
        }) {}

  // A box the test left open is answered, so the thread can end.
  ~CMessageBoxThread() {
    while (result_ == kOpen) {
      if (threadId_ != 0) {
        ::EnumThreadWindows(threadId_, answer, 0);
      }
      ::Sleep(20);
    }
    thread_.join();
  }

  CMessageBoxThread(const CMessageBoxThread&) = delete;
  CMessageBoxThread& operator=(const CMessageBoxThread&) = delete;

  static constexpr int kOpen = -1;

  // MessageBox's result (IDOK...) once the box has closed within the time
  // limit, else kOpen.
  int waitResult(DWORD timeoutMs = 5000) const {
    return ui::pollUntil(timeoutMs, [this] { return result_ != kOpen; }) ? result_.load() : kOpen;
  }

private:
  static BOOL CALLBACK answer(HWND window, LPARAM) {
    ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    ::PostMessageW(window, WM_COMMAND, IDOK, 0);
    return TRUE;
  }

  std::atomic<DWORD> threadId_{0};
  std::atomic<int> result_{kOpen};
  std::thread thread_;
};

}  // namespace harness
