#include "frame/modal_run.h"

#include "support/polling.h"

namespace frame_test {
namespace {

constexpr DWORD kCleanUpMs = 10000;
constexpr DWORD kForegroundMs = 5000;

BOOL CALLBACK cancelWindow(HWND window, LPARAM) {
  ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  ::PostMessageW(window, WM_COMMAND, IDOK, 0);
  return TRUE;
}

}  // namespace

CModalRun::CModalRun(frame::CDialog& dialog)
    : thread_([this, &dialog] {
        threadId_ = ::GetCurrentThreadId();
        try {
          result_ = dialog.DoModal();
        } catch (...) {
          threw_ = true;
        }
        ended_ = true;
      }) {}

CModalRun::~CModalRun() {
  ui::pollUntil(kCleanUpMs, [this] {
    if (!ended_ && threadId_ != 0) {
      ::EnumThreadWindows(threadId_, cancelWindow, 0);
    }
    return ended_.load();
  });
  thread_.join();
}

std::optional<INT_PTR> CModalRun::waitResult(DWORD timeoutMs) {
  if (!ui::pollUntil(timeoutMs, [this] { return ended_.load(); }) || threw_) {
    return std::nullopt;
  }
  return result_.load();
}

bool pressKey(HWND window, WORD virtualKey) {
  ::SetForegroundWindow(window);
  if (!ui::pollUntil(kForegroundMs, [window] { return ::GetForegroundWindow() == window; })) {
    return false;
  }
  INPUT key[2] = {};
  key[0].type = INPUT_KEYBOARD;
  key[0].ki.wVk = virtualKey;
  key[1].type = INPUT_KEYBOARD;
  key[1].ki.wVk = virtualKey;
  key[1].ki.dwFlags = KEYEVENTF_KEYUP;
  return ::SendInput(2, key, sizeof(INPUT)) == 2;
}

}  // namespace frame_test
