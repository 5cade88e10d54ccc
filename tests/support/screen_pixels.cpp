#include "support/screen_pixels.h"

#include <cstdlib>
#include <utility>

#include "base/dib_canvas_win.h"

namespace ui {

RECT screenArea() {
  const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  return RECT{left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
              top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

std::optional<CPixels> captureScreen(const RECT& area) {
  std::vector<uint32_t> pixels = copyScreenPixels(area);
  if (pixels.empty()) {
    return std::nullopt;
  }
  return CPixels{area.right - area.left, area.bottom - area.top, std::move(pixels)};
}

std::optional<CPixels> drawOffScreen(int width, int height, COLORREF background,
                                     const std::function<void(HDC)>& paint) {
  CDibCanvas canvas(width, height);
  if (!canvas.valid()) {
    return std::nullopt;
  }
  CScopedSelection selection(canvas.dc(), canvas.bitmap());
  CScopedGdiObject brush(::CreateSolidBrush(background));
  RECT all{0, 0, width, height};
  ::FillRect(canvas.dc(), &all, static_cast<HBRUSH>(brush.get()));
  paint(canvas.dc());
  return CPixels{width, height, canvas.pixels()};
}

double meanDifference(const CPixels& a, const CPixels& b) {
  if (a.width != b.width || a.height != b.height || a.data.empty()) {
    return 255.0;
  }
  uint64_t total = 0;
  for (size_t i = 0; i < a.data.size(); ++i) {
    for (int shift = 0; shift < 24; shift += 8) {
      total += std::abs(static_cast<int>((a.data[i] >> shift) & 0xFF) -
                        static_cast<int>((b.data[i] >> shift) & 0xFF));
    }
  }
  return static_cast<double>(total) / (a.data.size() * 3.0);
}

}  // namespace ui
