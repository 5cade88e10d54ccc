#include "frame/creation_hook.h"

#include <utility>

#include "app/exception.h"
#include "frame/wnd.h"

namespace frame {
namespace {

// The object waiting for the next window of this thread.  A dialog shown from
// a handler of another dialog makes its own hook and restores this slot.
thread_local CWnd* windowToAttach = nullptr;

// The system may make its input method windows inside the first window's
// creation; they are not the window asked for.
bool isInputMethodWindow(const CREATESTRUCTW& create) {
  if (IS_INTRESOURCE(create.lpszClass)) {
    return false;
  }
  return ::lstrcmpiW(create.lpszClass, L"IME") == 0 || ::lstrcmpiW(create.lpszClass, L"MSCTFIME UI") == 0;
}

LRESULT CALLBACK onWindowEvent(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && windowToAttach) {
    const auto* event = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
    if (!isInputMethodWindow(*event->lpcs)) {
      std::exchange(windowToAttach, nullptr)->SubclassWindow(reinterpret_cast<HWND>(wParam));
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

CCreationHook::CCreationHook(CWnd& window)
    : previous_(std::exchange(windowToAttach, &window)),
      hook_(::SetWindowsHookExW(WH_CBT, &onWindowEvent, nullptr, ::GetCurrentThreadId())) {
  if (!hook_) {
    windowToAttach = previous_;
    throw XExceptionDlg();
  }
}

CCreationHook::~CCreationHook() { windowToAttach = previous_; }

}  // namespace frame
