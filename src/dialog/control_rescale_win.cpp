#include "dialog/control_rescale_win.h"

#include "app/exception.h"

namespace {

BOOL CALLBACK collectControl(HWND window, LPARAM param) {
  auto& controls = *reinterpret_cast<std::vector<HWND>*>(param);
  if (::GetParent(window) == controls.front()) {
    controls.push_back(window);
  }
  return TRUE;
}

// The dialog's own controls, not the windows inside them (a combo box's
// edit field moves with its combo box).
std::vector<HWND> controlsOf(HWND dialog) {
  std::vector<HWND> windows{dialog};
  ::EnumChildWindows(dialog, &collectControl, reinterpret_cast<LPARAM>(&windows));
  windows.erase(windows.begin());
  return windows;
}

LONG scaled(LONG value, int dpi, int buildDpi) { return ::MulDiv(value, dpi, buildDpi); }

// The height scaled and two added: the height is a character height
// (negative), so the font comes out a little smaller than exactly scaled,
// and text measured at the build DPI still fits its scaled box.
LONG scaledHeight(LONG height, int dpi, int buildDpi) { return scaled(height, dpi, buildDpi) + 2; }

std::wstring fontKey(const LOGFONTW& font) {
  return std::to_wstring(font.lfHeight) + L':' + std::to_wstring(font.lfWeight) + L':' +
         std::to_wstring(font.lfItalic) + L':' + std::to_wstring(font.lfUnderline) + L':' +
         std::to_wstring(font.lfStrikeOut);
}

}  // namespace

void CControlRescaler::record(HWND dialog) {
  if (recorded_) {
    return;
  }
  for (const HWND control : controlsOf(dialog)) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    records_.push_back({control, rect, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0))});
  }
  recorded_ = true;
}

void CControlRescaler::rescale(int dpi, int buildDpi) {
  for (const CRecord& record : records_) {
    const bool first = dpi == buildDpi;
    const RECT rect = first ? record.rect
                            : RECT{scaled(record.rect.left, dpi, buildDpi), scaled(record.rect.top, dpi, buildDpi),
                                   scaled(record.rect.right, dpi, buildDpi), scaled(record.rect.bottom, dpi, buildDpi)};
    ::SetWindowPos(record.window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    if (record.font) {
      const HFONT font = first ? record.font : scaledFont(record.font, dpi, buildDpi);
      ::SendMessageW(record.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
  }
}

HFONT CControlRescaler::scaledFont(HFONT font, int dpi, int buildDpi) {
  LOGFONTW description{};
  if (!::GetObjectW(font, sizeof description, &description)) {
    throw XExceptionDlg();
  }
  description.lfHeight = scaledHeight(description.lfHeight, dpi, buildDpi);
  CScopedFont& made = scaledFonts_[fontKey(description)];
  if (!made) {
    made.reset(::CreateFontIndirectW(&description));
    if (!made) {
      throw XExceptionDlg();
    }
  }
  return made.get();
}
