#include "base/dib_canvas_win.h"

#include <cstring>

CDibCanvas::CDibCanvas(int width, int height) : width_(width), height_(height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  dc_.reset(::CreateCompatibleDC(nullptr));
  bitmap_.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
}

std::vector<std::uint32_t> CDibCanvas::pixels() const {
  ::GdiFlush();
  std::vector<std::uint32_t> result(static_cast<std::size_t>(width_) * height_);
  std::memcpy(result.data(), bits_, result.size() * sizeof(std::uint32_t));
  // The fourth byte is whatever the drawing left there.
  for (std::uint32_t& pixel : result) {
    pixel &= 0x00FFFFFF;
  }
  return result;
}

std::vector<std::uint32_t> copyScreenPixels(const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) {
    return {};
  }
  CDibCanvas canvas(width, height);
  CScopedScreenDC screen(::GetDC(nullptr));
  if (!canvas.valid() || !screen) {
    return {};
  }
  CScopedSelection selection(canvas.dc(), canvas.bitmap());
  if (!::BitBlt(canvas.dc(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY)) {
    return {};
  }
  return canvas.pixels();
}
