// The dialog font's metrics and what the controls derive from them, and the
// fonts the window side provides for the text styles.
//
// The metrics are those of 96 DPI whatever the screen's DPI: on Windows the
// window side reads the dialog's font back and, when the process is aware of
// the monitor's DPI and that DPI is not 96, measures an equal font of height
// -(point size x 96 / 72) instead.  The cache holds one font per text style
// (CTextStyle::cacheKey) for as long as the dialog model lives.
#pragma once

#include <cstdint>

#include "dialog/dialog_model.h"
#include "dialog/text_style.h"

// The dialog-unit sizes of the controls, in pixels of the dialog font.
struct CControlUnits {
  // 12/8 of the text height.
  std::int32_t fieldHeight = 0;
  // 14/8 of the text height.
  std::int32_t buttonHeight = 0;
  // 50/4 of the average character width.
  std::int32_t buttonWidth = 0;
};

// number x numerator / denominator, rounded to the nearest integer with
// halves away from zero, computed without overflow; 0 for a zero
// denominator.  The platform's multiply-divide rounds the same way.
std::int32_t mulDivRounded(std::int32_t number, std::int32_t numerator, std::int32_t denominator);

CControlUnits controlUnits(const CFontMetrics& metrics);

// What the window side gives layout and the controls: the dialog font's
// metrics, and the font of each text style.
class XDialogFonts {
public:
  virtual ~XDialogFonts() = default;
  // The 96-DPI metrics of the dialog's font.
  virtual CFontMetrics measureDialogFont() = 0;
  // The font of the style, made on first use from the dialog font's
  // description (styleFontHeight, weight 700 for bold, italic and underline
  // from the flags) and kept until the dialog model ends.
  virtual CFontHandle fontOf(CTextStyle style) = 0;
};
