#include "dialog/xdlg.h"

#include <atomic>
#include <utility>

#include "app/exception.h"
#include "dialog/dialog_header.h"
#include "dialog/dialog_prepare.h"
#include "dialog/dpi_api_win.h"
#include "dialog/item_data_win.h"
#include "resource/resource_bundle.h"
#include "xml/xml_document.h"

namespace {

std::atomic<HICON> applicationIcon{nullptr};

frame::CDialogTemplateHeader templateHeaderOf(const DialogModel& model, DWORD defaultStyle) {
  const CDialogHeader markup = readDialogHeader(model, defaultStyle);
  frame::CDialogTemplateHeader header;
  header.style = markup.style;
  header.caption = markup.caption;
  header.font.pointSize = markup.pointSize;
  header.font.face = markup.font;
  return header;
}

SIZE windowSizeOf(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

// A system colour with each of red, green and blue multiplied by the ratio.
COLORREF shadeOf(COLORREF colour, int numerator, int denominator) {
  return RGB(GetRValue(colour) * numerator / denominator, GetGValue(colour) * numerator / denominator,
             GetBValue(colour) * numerator / denominator);
}

void fill(HDC dc, const RECT& rect, COLORREF colour) {
  // ETO_OPAQUE fills with the background colour without a brush to free.
  ::SetBkColor(dc, colour);
  ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

}  // namespace

XDlg::XDlg(std::string_view markupName, HWND parent, DWORD defaultStyle)
    : XDlg(prepareDialog(documentElement(loadXmlResource(markupName))), parent, defaultStyle) {}

XDlg::XDlg(DialogModel model, HWND parent, DWORD defaultStyle)
    : parent_(parent), model_(std::move(model)), windowTemplate_(templateHeaderOf(model_, defaultStyle)) {
  InitModalIndirect(windowTemplate_.get(), parent_);
}

// The controls go with the window before the fonts of the content they use.
XDlg::~XDlg() { DestroyWindow(); }

void XDlg::setApplicationIcon(HICON icon) noexcept { applicationIcon = icon; }

void XDlg::PreInitDialog() {
  // Building the content changes the model's tree: a dialog runs once, and
  // a second DoModal finds no template.
  InitModalIndirect(nullptr, parent_);
  const HWND window = GetSafeHwnd();
  model_.dpi.window = CDpiApi::instance().windowDpi(window);
  useBuildDpiFont();
  content_.emplace(model_, window, buildDpiFont_.get());
  if (content_->focusWindow()) {
    ::PostMessageW(window, kMarkupDialogMessage, kMarkupDialogTag, kMoveFocus);
  }
  if (content_->defaultButton()) {
    setDefaultButton(content_->defaultButton());
  }
  setIcon();
  rescaler_.record(window);
  scaleToWindowDpi();
  builtSize_ = windowSizeOf(window);
}

// A process that follows each monitor's DPI gets a dialog font made for the
// monitor's DPI, but the controls are laid out at the build DPI and scaled
// to the window's from there: they start from the font of the build DPI, or
// the scaling would enlarge an enlarged font once more.  (A dialog ignores
// WM_SETFONT: the content is given the font instead.)
void XDlg::useBuildDpiFont() {
  if (!CDpiApi::instance().perMonitorAware() || model_.dpi.window == model_.dpi.build) {
    return;
  }
  const CDialogHeader header = readDialogHeader(model_, kDefaultDialogStyle);
  buildDpiFont_ = makeDialogFont(header.font, header.pointSize, model_.dpi.build);
}

void XDlg::setDefaultButton(HWND button) {
  ::SendMessageW(GetSafeHwnd(), DM_SETDEFID, static_cast<WPARAM>(::GetDlgCtrlID(button)), 0);
  ::SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void XDlg::setIcon() {
  if (const HICON icon = applicationIcon.load()) {
    ::SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
}

// A window that opens on a monitor of another DPI than the one the controls
// were laid out for grows (or shrinks) to it at once.
void XDlg::scaleToWindowDpi() {
  const CDialogDpi& dpi = model_.dpi;
  if (!rescalingAllowed || !CDpiApi::instance().perMonitorAware() || dpi.window == dpi.build ||
      dpi.window == dpi.current) {
    return;
  }
  const HWND window = GetSafeHwnd();
  RECT client{};
  ::GetClientRect(window, &client);
  const SIZE frame = windowSizeOf(window);
  const int width = ::MulDiv(client.right, dpi.window, dpi.build) + frame.cx - client.right;
  const int height = ::MulDiv(client.bottom, dpi.window, dpi.build) + frame.cy - client.bottom;
  ::SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  rescaleControls(dpi.window);
}

void XDlg::rescaleControls(int dpi) {
  if (!rescalingAllowed || !rescaler_.recorded()) {
    return;
  }
  model_.dpi.current = dpi;
  rescaler_.rescale(dpi, model_.dpi.build);
  content_->showImagesAt(model_, dpi);
  ::InvalidateRect(GetSafeHwnd(), nullptr, TRUE);
}

void XDlg::onDpiChanged(int dpi, const RECT& suggested) {
  if (dpi == model_.dpi.current) {
    return;
  }
  SIZE size{suggested.right - suggested.left, suggested.bottom - suggested.top};
  if (dpi == model_.dpi.window) {
    size = builtSize_;
  } else {
    // The suggested height comes out a little too high when the DPI grows
    // and a little too low when it shrinks.
    size.cy += dpi > model_.dpi.window ? -8 : 4;
  }
  ::SetWindowPos(GetSafeHwnd(), nullptr, suggested.left, suggested.top, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  rescaleControls(dpi);
}

LRESULT XDlg::onMarkupDialogMessage(WPARAM wParam, LPARAM lParam) {
  if (lParam == kAskMarkupDialog) {
    return static_cast<LRESULT>(wParam + 1);
  }
  if (lParam == kMoveFocus && content_ && content_->focusWindow()) {
    ::SetFocus(content_->focusWindow());
  }
  return 0;
}

// Button face everywhere, and under the standard button row a slightly
// darker band that begins with a darker line; system colours only, so that
// a high-contrast scheme stays readable.
void XDlg::paintBackground(HDC dc) const {
  RECT client{};
  ::GetClientRect(GetSafeHwnd(), &client);
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  const COLORREF previous = ::GetBkColor(dc);
  fill(dc, client, face);
  if (content_ && content_->buttonRow()) {
    // The row was laid out at the build DPI and has moved with the controls.
    const LONG top = ::MulDiv(content_->buttonRow()->box.top, model_.dpi.current, model_.dpi.build);
    fill(dc, RECT{client.left, top, client.right, client.bottom}, shadeOf(face, 15, 16));
    fill(dc, RECT{client.left, top, client.right, top + 1}, shadeOf(face, 1, 2));
  }
  ::SetBkColor(dc, previous);
}

LRESULT XDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      CDpiApi::instance().enableScaling(GetSafeHwnd());
      break;
    case WM_ERASEBKGND:
      paintBackground(reinterpret_cast<HDC>(wParam));
      return TRUE;
    case WM_SHOWWINDOW:
      if (wParam && !shown_) {
        shown_ = true;
        OnFirstShow();
      }
      break;
    case WM_DPICHANGED:
      onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_DESTROY:
      OnDestroyNotify();
      releaseMarkedItemData(GetSafeHwnd());
      break;
    case kMarkupDialogMessage:
      if (wParam == kMarkupDialogTag) {
        return onMarkupDialogMessage(wParam, lParam);
      }
      break;
  }
  return CDialog::WindowProc(message, wParam, lParam);
}

const CDialogNode* XDlg::controlNode(int controlId) const noexcept {
  for (const DialogNodePtr& control : model_.controls) {
    if (control->controlId == controlId) {
      return control.get();
    }
  }
  return nullptr;
}

// A plain button with one of the standard results (IDABORT to IDCONTINUE:
// the button row's "try", "yes", "no"...) ends the dialog with it, unless
// the markup named the button to handle it by name.
bool XDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int command = LOWORD(wParam);
  if (HIWORD(wParam) == BN_CLICKED && lParam != 0 && command >= IDABORT && command <= IDCONTINUE) {
    const CDialogNode* node = controlNode(command);
    const auto named = [node](std::wstring_view key) {
      const std::wstring* value = node->attribute(key);
      return value && !value->empty();
    };
    if (node && node->is(L"button") && !named(L"id") && !named(L"name")) {
      EndDialog(command);
      return true;
    }
  }
  return CDialog::OnCommand(wParam, lParam);
}
