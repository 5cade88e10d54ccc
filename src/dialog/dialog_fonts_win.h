// The dialog's fonts on Windows: its own font measured at 96 DPI, and one
// font per text style made from it, owned here until the dialog ends.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/gdi_handles.h"
#include "dialog/font_metrics.h"

// A font of the face and point size at the DPI, as a dialog template makes it.
CScopedFont makeDialogFont(const std::wstring& face, std::uint16_t pointSize, int dpi);

// The extent of one line of text in the font.
CBoxSize textExtent(HFONT font, const std::wstring& text);
// The extent of the text with its line feeds, as a block of lines.
CBoxSize textBlockExtent(HFONT font, const std::wstring& text);

class CGdiDialogFonts : public XDialogFonts {
public:
  // dialogFont is the font the dialog window was made with; it stays the
  // window's and must outlive this object.
  CGdiDialogFonts(HFONT dialogFont, std::uint16_t pointSize);

  // When the process is aware of the monitor's DPI and the screen is not at
  // 96 DPI, an equal font of height -(point size x 96 / 72) is measured in
  // place of the dialog's own, so that the metrics are those of 96 DPI.
  CFontMetrics measureDialogFont() override;
  CFontHandle fontOf(CTextStyle style) override;

private:
  HFONT dialogFont_;
  std::uint16_t pointSize_;
  std::vector<std::pair<std::uint32_t, CScopedFont>> cache_;
};
