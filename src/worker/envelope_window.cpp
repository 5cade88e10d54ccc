#include "worker/envelope_window.h"

#include <utility>

#include "app/exception.h"
#include "frame/failure_report.h"

namespace {

constexpr wchar_t kClassName[] = L"BrantelEnvelopeWindow";

void dispatchQueued() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

}  // namespace

CEnvelopeWindow::CEnvelopeWindow(Handler handler) : handler_(std::move(handler)) {
  static const ATOM registered = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &CEnvelopeWindow::procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    return ::RegisterClassW(&windowClass);
  }();
  window_ = ::CreateWindowExW(0, MAKEINTATOM(registered), L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              ::GetModuleHandleW(nullptr), this);
  if (!window_) {
    throw XExceptionDlg();
  }
}

CEnvelopeWindow::~CEnvelopeWindow() { destroy(); }

void CEnvelopeWindow::destroy() {
  if (window_) {
    ::DestroyWindow(window_);
    window_ = nullptr;
  }
}

LRESULT CALLBACK CEnvelopeWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<CEnvelopeWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && message == envelope::message()) {
    if (wParam == envelope::kPosted) {
      ++self->posted_;
    } else if (wParam == envelope::kSent) {
      ++self->sent_;
    }
    // A handler's failure ends at this window's edge: the envelope has been
    // released by then, and the user reads the text.
    try {
      if (auto answer = envelope::receive(wParam, lParam, self->handler_)) {
        return *answer;
      }
    } catch (...) {
      frame::reportCurrentFailure(window);
      return 0;
    }
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

bool pumpMessagesUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) {
      return false;
    }
    dispatchQueued();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  dispatchQueued();
  return true;
}
