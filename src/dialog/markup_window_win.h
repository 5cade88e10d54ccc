// A prepared markup dialog made into the controls of a window: the button
// row, one control per element and one static per word, laid out, shown in
// their places, and the window sized around them.  XDlg builds its content
// with it; a test or a preview can show markup in any top-level window.
#pragma once

#include <windows.h>

#include "dialog/dialog_fonts_win.h"
#include "dialog/dialog_header.h"
#include "dialog/dialog_model.h"
#include "resource/image_cache.h"

class CMarkupWindowContent {
public:
  // Builds the content of window from model, whose tree it changes (the
  // `caption` goes, the button row comes) and whose nodes keep their windows.
  // A window without a font gets the one the dialog's header names, at the
  // model's window DPI.  Failures throw XException; a root that is not
  // `dialog` throws XExceptionDlg.
  CMarkupWindowContent(DialogModel& model, HWND window);
  // The same, built from the font given (which must outlive this) in place
  // of the window's: a dialog whose own font follows its monitor's DPI is
  // laid out at the build DPI.
  CMarkupWindowContent(DialogModel& model, HWND window, HFONT dialogFont);
  CMarkupWindowContent(const CMarkupWindowContent&) = delete;
  CMarkupWindowContent& operator=(const CMarkupWindowContent&) = delete;

  // The control to give the focus once the window is shown, and the default
  // button; nullptr when the markup names none.
  HWND focusWindow() const noexcept { return focusWindow_; }
  HWND defaultButton() const noexcept { return defaultButton_; }
  // The standard button row, or nothing without `xbutton`.
  const DialogNodePtr& buttonRow() const noexcept { return buttonRow_; }
  CBoxSize clientSize() const noexcept { return clientSize_; }

  // Shows every picture of the model's image controls as fits the DPI, once
  // the controls have been scaled to it.
  void showImagesAt(const DialogModel& model, int dpi);

private:
  CMarkupWindowContent(DialogModel& model, HWND window, const CDialogHeader& header, HFONT dialogFont);

  // Declared first: the window's font when this made it, which the fonts
  // below are made from.
  CScopedFont ownDialogFont_;
  CGdiDialogFonts fonts_;
  CImageCache images_;
  DialogNodePtr buttonRow_;
  HWND focusWindow_ = nullptr;
  HWND defaultButton_ = nullptr;
  CBoxSize clientSize_;
};
