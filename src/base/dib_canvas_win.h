// A top-down 32-bit DIB section and a memory device context for it, to draw
// into or copy the screen into, and read back as plain pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "base/gdi_handles.h"

class CDibCanvas {
public:
  CDibCanvas(int width, int height);
  CDibCanvas(const CDibCanvas&) = delete;
  CDibCanvas& operator=(const CDibCanvas&) = delete;

  bool valid() const { return dc_ && bitmap_ && bits_; }
  // The caller selects bitmap() into dc() (CScopedSelection) while it draws.
  HDC dc() const { return dc_.get(); }
  HGDIOBJ bitmap() const { return bitmap_.get(); }

  // The pixels as 0x00RRGGBB, rows from the top, once pending drawing is done.
  std::vector<std::uint32_t> pixels() const;

private:
  int width_;
  int height_;
  void* bits_ = nullptr;
  CScopedMemoryDC dc_;
  CScopedGdiObject bitmap_;
};

// The pixels of a rectangle of the screen (screen coordinates), as pixels()
// gives them; empty when the rectangle is empty or cannot be copied.
std::vector<std::uint32_t> copyScreenPixels(const RECT& area);
