// The window class of the framework layer: one C++ object per window, whose
// virtual window procedure sees every message from the non-client create
// message to the last one, and routes commands and notifications to
// overridable handlers.
//
// The object takes over the window's procedure (subclassing) and keeps the
// procedure it replaced for the default handling (DefWindowProc).  A window
// procedure is an error boundary: a failure that escapes a handler is shown
// to the user over the window (frame/failure_report.h) and the window goes
// on; the message then counts as answered with 0.
//
// An object and its window belong to the thread that made the window.
#pragma once

#include <windows.h>

namespace frame {

class CDataExchange;

class CWnd {
public:
  CWnd() = default;
  // A window that outlives its object is given back its own procedure and
  // destroyed.
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND GetSafeHwnd() const { return window_; }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(window_, id); }

  // The object attached to a window of this thread, or nullptr.
  static CWnd* FromHandlePermanent(HWND window);

  // Makes a window of the frame's own class (className nullptr) or of a
  // registered class, attached to this object before its first message.
  // Throws XExceptionDlg when the window cannot be made.
  void CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style, const RECT& rect,
                HWND parent, UINT id = 0);
  void DestroyWindow();

  // Attaches an existing window of this thread to this object; false when the
  // object already has a window or the window cannot be taken over.
  bool SubclassWindow(HWND window);

  // The exchange between the controls and the object's data: load the
  // controls (false) or save them into the data and validate (true).  False
  // when the exchange stopped at a value it refused (CDataExchange::Fail).
  bool UpdateData(bool saveAndValidate = true);

protected:
  // Every message of the window.  The default sends WM_COMMAND to OnCommand
  // and WM_NOTIFY to OnNotify, and what they leave to DefWindowProc.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // A command from a control, menu or accelerator; true when handled.
  virtual bool OnCommand(WPARAM wParam, LPARAM lParam);
  // A control's notification; true when handled, with the answer in *result.
  virtual bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
  // The two directions of the exchange (dx->m_bSaveAndValidate); the default
  // exchanges nothing.
  virtual void DoDataExchange(CDataExchange* dx);

  // The handling of the procedure the object took over.
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
  static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  void detach();

  HWND window_ = nullptr;
  WNDPROC superProcedure_ = nullptr;
};

}  // namespace frame
