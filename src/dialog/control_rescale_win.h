// The controls of a dialog as they were first laid out, and the same
// controls scaled to another DPI from there: every change starts from the
// first layout, so going back to the first DPI gives exactly the first
// rectangles and fonts, however many changes came between.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "dialog/dialog_fonts_win.h"

class CControlRescaler {
public:
  // Notes the rectangle (in the dialog's client coordinates) and the font of
  // every control of the dialog; only the first call counts.
  void record(HWND dialog);
  bool recorded() const noexcept { return recorded_; }

  // Gives every recorded control its first rectangle and font when dpi is
  // buildDpi, else both scaled by dpi / buildDpi.
  void rescale(int dpi, int buildDpi);

private:
  struct CRecord {
    HWND window;
    RECT rect;
    HFONT font;
  };

  HFONT scaledFont(HFONT font, int dpi, int buildDpi);

  bool recorded_ = false;
  std::vector<CRecord> records_;
  // The fonts made for other DPIs, by their description; the recorded fonts
  // stay their makers'.
  std::map<std::wstring, CScopedFont> scaledFonts_;
};
