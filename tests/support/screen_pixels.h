// Pixels of a part of the screen, and of pictures drawn off screen to compare
// with it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace ui {

// 32-bit pixels, 0x00RRGGBB, rows from the top.
struct CPixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> data;

  uint32_t at(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
};

// The pixels of a rectangle of the screen (screen coordinates).
std::optional<CPixels> captureScreen(const RECT& area);

// The whole screen: the rectangle of all monitors.
RECT screenArea();

// A picture of the given size drawn by `paint` into a memory device context
// (already filled with `background`, a COLORREF).
std::optional<CPixels> drawOffScreen(int width, int height, COLORREF background,
                                     const std::function<void(HDC)>& paint);

// Mean difference per colour channel (0..255) of two pictures of one size.
double meanDifference(const CPixels& a, const CPixels& b);

}  // namespace ui
