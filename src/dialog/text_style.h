// The text style that reaches a node from the elements above it: a size and
// bold, italic and underline.  Every control and text run is drawn and
// measured in the font of its style, one font per style and dialog.
#pragma once

#include <cstdint>

#include "dialog/dialog_node.h"

struct CTextStyle {
  enum Size : std::int32_t { Normal = 0, Medium = 1, Large = 2 };
  enum Flags : std::uint32_t { Bold = 1, Italic = 2, Underline = 4 };

  std::int32_t size = Normal;
  std::uint32_t flags = 0;

  // What the dialog's font cache files the style's font under.
  std::uint32_t cacheKey() const noexcept { return (static_cast<std::uint32_t>(size) << 16) | flags; }

  friend bool operator==(const CTextStyle&, const CTextStyle&) = default;
};

// The style an element passes to its content: `font-size` "small", "medium"
// or "large" picks the size (other values leave it), `strong` true makes it
// bold and any other `strong` value plain, and `b` and `strong` make their
// content bold, `i` italic.
CTextStyle styleInside(const CDialogNode& element, CTextStyle inherited);

// The height of the style's font, from the dialog font's height: 1.4 times
// for medium, 1.8 times for large, cut to whole units (the sign of the
// height, which tells cell from character height, is kept).
std::int32_t styleFontHeight(std::int32_t dialogFontHeight, CTextStyle style);
