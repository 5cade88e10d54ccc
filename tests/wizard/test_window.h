// A small hidden window that receives envelopes, for the tests of the
// envelope channel, and the payload counters that show what was freed.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <utility>

#include "base/ref_ptr.h"
#include "wizard/ref_message.h"

// Counts the payloads made and destroyed through it.
struct CPayloadCount {
  static inline std::atomic<int> madeCount{0};
  static inline std::atomic<int> destroyedCount{0};
  static void reset() {
    madeCount = 0;
    destroyedCount = 0;
  }
  static int made() { return madeCount.load(); }
  static int destroyed() { return destroyedCount.load(); }
  static int alive() { return made() - destroyed(); }
};

template <class Payload>
class TCounted : public Payload {
public:
  template <class... Args>
  explicit TCounted(Args&&... args) : Payload(std::forward<Args>(args)...) {
    ++CPayloadCount::madeCount;
  }
  ~TCounted() override { ++CPayloadCount::destroyedCount; }
};

template <class Payload, class... Args>
TRefPtr<TCounted<Payload>> makeCounted(Args&&... args) {
  return makeRef<TCounted<Payload>>(std::forward<Args>(args)...);
}

// A hidden top-level window of the calling thread.  Every envelope it gets
// goes to the handler, whose answer becomes the message's result; it counts
// what arrived and how.
class CEnvelopeWindow {
public:
  using Handler = std::function<LRESULT(XRefMessage&)>;

  explicit CEnvelopeWindow(Handler handler = [](XRefMessage&) -> LRESULT { return 1; })
      : handler_(std::move(handler)) {
    static const ATOM registered = registerClass();
    window_ = ::CreateWindowExW(0, MAKEINTATOM(registered), L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                ::GetModuleHandleW(nullptr), this);
  }
  ~CEnvelopeWindow() { destroy(); }
  CEnvelopeWindow(const CEnvelopeWindow&) = delete;
  CEnvelopeWindow& operator=(const CEnvelopeWindow&) = delete;

  HWND handle() const { return window_; }
  void destroy() {
    if (window_) {
      ::DestroyWindow(window_);
      window_ = nullptr;
    }
  }

  int posted = 0;
  int sent = 0;

private:
  static ATOM registerClass() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"BrantelEnvelopeTestWindow";
    return ::RegisterClassW(&windowClass);
  }

  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<CEnvelopeWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == envelope::message()) {
      if (wParam == envelope::kPosted) {
        ++self->posted;
      } else if (wParam == envelope::kSent) {
        ++self->sent;
      }
      if (auto answer = envelope::receive(wParam, lParam, self->handler_)) {
        return *answer;
      }
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
  }

  Handler handler_;
  HWND window_ = nullptr;
};

// Dispatches the calling thread's messages until the condition holds or the
// time is up; answers the condition.
inline bool pumpUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) {
      return false;
    }
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}
