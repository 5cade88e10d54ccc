#include "harness/test_window.h"

#include "base/gdi_handles.h"

namespace harness {
namespace {

constexpr wchar_t kClassName[] = L"BrantelHarnessWindow";
constexpr DWORD kReadyTimeoutMs = 10000;

void registerClass(WNDPROC windowProc) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kClassName;
  ::RegisterClassW(&windowClass);  // fails harmlessly for the second window of a test
}

HWND child(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id, int x, int y, int width,
           int height) {
  return ::CreateWindowExW(0, className, text, WS_CHILD | style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

CTestWindow::CTestWindow(std::wstring caption)
    : caption_(std::move(caption)), ready_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  thread_ = std::thread([this] { run(); });
  ::WaitForSingleObject(ready_.get(), kReadyTimeoutMs);
}

CTestWindow::~CTestWindow() {
  if (window_) {
    ::PostMessageW(window_, WM_CLOSE, 0, 0);
  }
  thread_.join();
}

int CTestWindow::clicks(int buttonId) const {
  switch (buttonId) {
    case kApplyId: return applyClicks_;
    case kDisabledId: return disabledClicks_;
    case kHiddenId: return hiddenClicks_;
    case kCoveredId: return coveredClicks_;
    case kMarkerId: return markerClicks_;
  }
  return 0;
}

POINT CTestWindow::fillPoint() const {
  POINT point{380, 150};
  ::ClientToScreen(window_, &point);
  return point;
}

void CTestWindow::run() {
  registerClass(&CTestWindow::windowProc);
  window_ = ::CreateWindowExW(0, kClassName, caption_.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 480, 260,
                              nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
  createControls();
  ::UpdateWindow(window_);
  ::SetEvent(ready_.get());
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  window_ = nullptr;
}

void CTestWindow::createControls() {
  child(window_, L"EDIT", L"", WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, kEditId, 10, 10, 200, 24);
  HWND limited = child(window_, L"EDIT", L"", WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, kLimitedEditId, 10, 40, 200, 24);
  ::SendMessageW(limited, EM_LIMITTEXT, kLimitedEditLength, 0);
  child(window_, L"EDIT", L"", WS_VISIBLE | WS_BORDER | ES_NUMBER, kNumberEditId, 10, 70, 200, 24);
  child(window_, L"BUTTON", L"&Apply", WS_VISIBLE | BS_PUSHBUTTON, kApplyId, 10, 110, 90, 28);
  child(window_, L"BUTTON", L"Disabled", WS_VISIBLE | WS_DISABLED | BS_PUSHBUTTON, kDisabledId, 110, 110, 90, 28);
  child(window_, L"BUTTON", L"Hidden", BS_PUSHBUTTON, kHiddenId, 210, 110, 90, 28);
  child(window_, L"BUTTON", L"Covered", WS_VISIBLE | BS_PUSHBUTTON, kCoveredId, 10, 160, 90, 28);
  child(window_, L"BUTTON", L"Marker", WS_VISIBLE | BS_PUSHBUTTON, kMarkerId, 210, 160, 90, 28);
  // A read-only field over the whole "Covered" button, above it in z-order.
  HWND cover = child(window_, L"EDIT", L"cover", WS_VISIBLE | ES_READONLY, 0, 5, 155, 100, 38);
  ::SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

LRESULT CALLBACK CTestWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<CTestWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_COMMAND:
      if (self && HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
          case kApplyId: ++self->applyClicks_; break;
          case kDisabledId: ++self->disabledClicks_; break;
          case kHiddenId: ++self->hiddenClicks_; break;
          case kCoveredId: ++self->coveredClicks_; break;
          case kMarkerId: ++self->markerClicks_; break;
        }
      }
      return 0;
    case WM_ERASEBKGND: {
      RECT client{};
      ::GetClientRect(window, &client);
      CScopedGdiObject brush(::CreateSolidBrush(kFillColour));
      ::FillRect(reinterpret_cast<HDC>(wParam), &client, static_cast<HBRUSH>(brush.get()));
      return 1;
    }
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace harness
