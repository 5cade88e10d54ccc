// The window of every markup dialog: a modal dialog whose window template is
// made from the root of its markup and whose controls are built from the
// markup when the window initialises.  It paints the standard button row's
// shade, follows DPI changes and answers the markup dialogs' identification
// message.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string_view>

#include "dialog/control_rescale_win.h"
#include "dialog/dialog_model.h"
#include "dialog/markup_window_win.h"
#include "frame/dialog.h"
#include "frame/dialog_template.h"

// The private message by which other code recognises a markup dialog: with
// kMarkupDialogTag as wParam and lParam kAskMarkupDialog it answers the tag
// plus one; lParam kMoveFocus puts the focus where the markup asked.
inline constexpr UINT kMarkupDialogMessage = 47804;
inline constexpr WPARAM kMarkupDialogTag = 0x69364990;
inline constexpr LPARAM kAskMarkupDialog = 1;
inline constexpr LPARAM kMoveFocus = 2;

// Popup, caption, system menu, modal frame, set-font, fixed-system.
inline constexpr DWORD kDefaultDialogStyle = 0x80C800C8;

class XDlg : public frame::CDialog {
public:
  // The markup file of the resource bundle by its name ("dlg/welcome.xml"),
  // or markup already prepared.  The window's template is made here, from
  // the root, with defaultStyle where the markup gives no `style`; a root
  // that is not `dialog` throws XExceptionDlg.  DoModal then runs the dialog,
  // once.
  XDlg(std::string_view markupName, HWND parent, DWORD defaultStyle = kDefaultDialogStyle);
  XDlg(DialogModel model, HWND parent, DWORD defaultStyle = kDefaultDialogStyle);
  ~XDlg() override;

  // The icon every markup dialog shows in its caption and task bar button;
  // the application owns it and keeps it for as long as dialogs run.
  static void setApplicationIcon(HICON icon) noexcept;

  // On by default; an owner that places its controls itself turns it off.
  bool rescalingAllowed = true;

  const DialogModel& model() const noexcept { return model_; }

protected:
  void PreInitDialog() override;
  // Called once, when the window is shown the first time.
  virtual void OnFirstShow() {}
  // Called as the window is being destroyed, while its controls still exist.
  virtual void OnDestroyNotify() {}

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
  const CDialogNode* controlNode(int controlId) const noexcept;
  LRESULT onMarkupDialogMessage(WPARAM wParam, LPARAM lParam);
  void paintBackground(HDC dc) const;
  void onDpiChanged(int dpi, const RECT& suggested);
  void rescaleControls(int dpi);
  void setDefaultButton(HWND button);
  void setIcon();
  void scaleToWindowDpi();

  void useBuildDpiFont();

  HWND parent_ = nullptr;
  DialogModel model_;
  frame::CDialogTemplate windowTemplate_;
  // The dialog font at the build DPI, made when the window's own font
  // follows another DPI; declared before the content that uses it.
  CScopedFont buildDpiFont_;
  // Declared after the model, whose nodes it builds windows for.
  std::optional<CMarkupWindowContent> content_;
  CControlRescaler rescaler_;
  SIZE builtSize_{};
  bool shown_ = false;
};
