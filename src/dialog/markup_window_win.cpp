#include "dialog/markup_window_win.h"

#include "dialog/button_row.h"
#include "dialog/control_factory_win.h"
#include "dialog/control_finish_win.h"
#include "dialog/control_kinds_win.h"
#include "dialog/dialog_layout.h"

namespace {

// The title lives in the window's caption bar, not among the controls.
void takeOutCaptions(const DialogNodePtr& root) {
  for (DialogNodePtr child = root->firstChild(); child;) {
    DialogNodePtr next = child->nextSibling();
    if (child->is(L"caption")) {
      CDialogTreeNode::removeChild(root, child);
    }
    child = next;
  }
}

// The font the window was made with, or a new one (kept in own) from the
// header when it has none.
HFONT dialogFontOf(HWND window, const CDialogHeader& header, int dpi, CScopedFont& own) {
  if (const HFONT font = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0))) {
    return font;
  }
  own = makeDialogFont(header.font, header.pointSize, dpi);
  ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(own.get()), FALSE);
  return own.get();
}

CBoxSize frameExtraOf(HWND window) {
  RECT outer{};
  RECT client{};
  ::GetWindowRect(window, &outer);
  ::GetClientRect(window, &client);
  return {(outer.right - outer.left) - (client.right - client.left),
          (outer.bottom - outer.top) - (client.bottom - client.top)};
}

void showInPlace(const DialogModel& model) {
  forEachShownWindow(*model.root, [](const CDialogNode& node, const CBoxRect& rect) {
    ::SetWindowPos(node.window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  });
}

}  // namespace

CMarkupWindowContent::CMarkupWindowContent(DialogModel& model, HWND window)
    : CMarkupWindowContent(model, window, readDialogHeader(model, 0), nullptr) {}

CMarkupWindowContent::CMarkupWindowContent(DialogModel& model, HWND window, HFONT dialogFont)
    : CMarkupWindowContent(model, window, readDialogHeader(model, 0), dialogFont) {}

CMarkupWindowContent::CMarkupWindowContent(DialogModel& model, HWND window, const CDialogHeader& header,
                                           HFONT dialogFont)
    : fonts_(dialogFont ? dialogFont : dialogFontOf(window, header, model.dpi.window, ownDialogFont_),
             header.pointSize) {
  model.fontSize = header.pointSize;
  takeOutCaptions(model.root);
  buttonRow_ = buildButtonRow(model);
  model.metrics = fonts_.measureDialogFont();
  CControlFactory factory(model, window, fonts_, images_);
  clientSize_ = layOutDialog(model, factory);
  focusWindow_ = factory.focusWindow();
  defaultButton_ = factory.defaultButton();
  const CBoxSize size = dialogWindowSize(clientSize_, frameExtraOf(window));
  ::SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  showInPlace(model);
  bindLabels(model);
  addListColumns(model);
  assignMnemonics(model);
}

void CMarkupWindowContent::showImagesAt(const DialogModel& model, int dpi) {
  for (const DialogNodePtr& control : model.controls) {
    if (control->is(L"image") && control->window) {
      showImageAt(images_, *control, static_cast<UINT>(dpi));
    }
  }
}
