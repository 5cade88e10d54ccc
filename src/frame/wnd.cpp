#include "frame/wnd.h"

#include "app/exception.h"
#include "frame/creation_hook.h"
#include "frame/data_exchange.h"
#include "frame/failure_report.h"

namespace frame {
namespace {

// The window property that leads from a window to its object.  A property,
// not the user data, which belongs to whoever made the window.
constexpr wchar_t kObjectProperty[] = L"BrantelFrameObject";
constexpr wchar_t kFrameClassName[] = L"BrantelFrameWindow";

const wchar_t* frameClassName() {
  static const ATOM registered = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kFrameClassName;
    return ::RegisterClassW(&windowClass);
  }();
  return registered ? kFrameClassName : nullptr;
}

}  // namespace

CWnd::~CWnd() {
  if (HWND window = window_) {
    detach();
    ::DestroyWindow(window);
  }
}

CWnd* CWnd::FromHandlePermanent(HWND window) {
  return window ? static_cast<CWnd*>(::GetPropW(window, kObjectProperty)) : nullptr;
}

void CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style, const RECT& rect,
                    HWND parent, UINT id) {
  if (window_) {
    throw XExceptionDlg();
  }
  const wchar_t* windowClass = className ? className : frameClassName();
  if (!windowClass) {
    throw XExceptionDlg();
  }
  // A child's menu handle is its identifier.
  auto* menu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id));
  {
    const CCreationHook hook(*this);
    ::CreateWindowExW(exStyle, windowClass, text, style, rect.left, rect.top, rect.right - rect.left,
                      rect.bottom - rect.top, parent, menu, ::GetModuleHandleW(nullptr), nullptr);
  }
  if (!window_) {
    throw XExceptionDlg();
  }
}

void CWnd::DestroyWindow() {
  if (window_) {
    ::DestroyWindow(window_);
  }
}

bool CWnd::SubclassWindow(HWND window) {
  if (window_ || !window || FromHandlePermanent(window) || !::SetPropW(window, kObjectProperty, this)) {
    return false;
  }
  window_ = window;
  superProcedure_ = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::windowProcedure)));
  return true;
}

void CWnd::detach() {
  ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(superProcedure_));
  ::RemovePropW(window_, kObjectProperty);
  window_ = nullptr;
  superProcedure_ = nullptr;
}

bool CWnd::UpdateData(bool saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  try {
    DoDataExchange(&dx);
  } catch (const XExceptionExchangeStopped&) {
    return false;
  }
  return true;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && OnCommand(wParam, lParam)) {
    return 0;
  }
  if (message == WM_NOTIFY) {
    LRESULT result = 0;
    if (OnNotify(wParam, lParam, &result)) {
      return result;
    }
  }
  return DefWindowProc(message, wParam, lParam);
}

bool CWnd::OnCommand(WPARAM, LPARAM) { return false; }

bool CWnd::OnNotify(WPARAM, LPARAM, LRESULT*) { return false; }

void CWnd::DoDataExchange(CDataExchange*) {}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::CallWindowProcW(superProcedure_, window_, message, wParam, lParam);
}

LRESULT CALLBACK CWnd::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* self = FromHandlePermanent(window);
  if (!self) {
    // Only a procedure that another subclass kept after the object let go
    // still calls here; the window's own handling then serves.
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  const LRESULT result = self->dispatch(message, wParam, lParam);
  // The last message: the window goes, the object stays with its owner.
  if (message == WM_NCDESTROY) {
    self->detach();
  }
  return result;
}

// The window's error boundary.
LRESULT CWnd::dispatch(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  try {
    return WindowProc(message, wParam, lParam);
  } catch (...) {
    reportCurrentFailure(window_);
    return 0;
  }
}

}  // namespace frame
