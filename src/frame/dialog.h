// The modal dialog of the framework layer, run from an extended dialog
// template in memory (frame/dialog_template.h builds one).
//
// Its hooks, in the order they run: PreInitDialog before anything of the
// dialog's own initialisation, then OnInitDialog, whose default loads the
// controls through the data exchange.  The commands IDOK and IDCANCEL (Enter
// and Escape reach the dialog as those, the close box as IDCANCEL) go to OnOK,
// which saves through the exchange and ends with IDOK only when it succeeds,
// and to OnCancel, which ends with IDCANCEL.
#pragma once

#include <windows.h>

#include "frame/wnd.h"

namespace frame {

class CDialog : public CWnd {
public:
  CDialog() = default;

  // The template and owner of the next DoModal.  The template stays the
  // caller's and must live until DoModal returns.
  void InitModalIndirect(const DLGTEMPLATE* dialogTemplate, HWND owner = nullptr);

  // Shows the dialog and runs its message loop until EndDialog; answers the
  // result given there.  Throws XExceptionDlg when there is no template, the
  // dialog already runs, or its window cannot be made.
  INT_PTR DoModal();

  // Ends the modal loop with the result, once the current message is done.
  void EndDialog(int result);

protected:
  virtual void PreInitDialog();
  // True lets the system put the focus on the first control that takes it.
  virtual bool OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
  const DLGTEMPLATE* template_ = nullptr;
  HWND owner_ = nullptr;
  // Set at WM_INITDIALOG: the window and all its controls were made.
  bool initialised_ = false;
};

}  // namespace frame
