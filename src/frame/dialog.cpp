#include "frame/dialog.h"

#include "app/exception.h"
#include "frame/creation_hook.h"

namespace frame {
namespace {

// The window procedure taken over from the dialog sees every message first
// (CWnd); the dialog procedure is left with nothing to do, so the system's
// dialog handling applies to whatever CWnd passes on.
INT_PTR CALLBACK leaveToTheSystem(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

void CDialog::InitModalIndirect(const DLGTEMPLATE* dialogTemplate, HWND owner) {
  template_ = dialogTemplate;
  owner_ = owner;
}

INT_PTR CDialog::DoModal() {
  if (!template_ || GetSafeHwnd()) {
    throw XExceptionDlg();
  }
  initialised_ = false;
  INT_PTR result = -1;
  {
    const CCreationHook hook(*this);
    result = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), template_, owner_, &leaveToTheSystem, 0);
  }
  // A dialog may end with any result, -1 too; it failed only when it never
  // reached its initialisation.
  if (!initialised_) {
    throw XExceptionDlg();
  }
  return result;
}

void CDialog::EndDialog(int result) {
  if (HWND window = GetSafeHwnd()) {
    ::EndDialog(window, result);
  }
}

void CDialog::PreInitDialog() {}

bool CDialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void CDialog::OnOK() {
  if (UpdateData(true)) {
    EndDialog(IDOK);
  }
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    initialised_ = true;
    PreInitDialog();
    return OnInitDialog() ? TRUE : FALSE;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

bool CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == BN_CLICKED) {
    switch (LOWORD(wParam)) {
      case IDOK:
        OnOK();
        return true;
      case IDCANCEL:
        OnCancel();
        return true;
    }
  }
  return CWnd::OnCommand(wParam, lParam);
}

}  // namespace frame
