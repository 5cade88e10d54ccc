#include "support/screen_pixels.h"

#include <cstdlib>
#include <cstring>

#include "base/gdi_handles.h"

namespace ui {
namespace {

// A top-down 32-bit DIB section and a memory DC it is selected into; the
// pixels are read straight from the section's memory.
class CCanvas {
public:
  CCanvas(int width, int height) : width_(width), height_(height) {
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

  bool valid() const { return dc_ && bitmap_ && bits_; }
  HDC dc() const { return dc_.get(); }
  HGDIOBJ bitmap() const { return bitmap_.get(); }

  CPixels pixels() const {
    ::GdiFlush();
    CPixels result{width_, height_, std::vector<uint32_t>(static_cast<size_t>(width_) * height_)};
    std::memcpy(result.data.data(), bits_, result.data.size() * sizeof(uint32_t));
    for (uint32_t& pixel : result.data) {
      pixel &= 0x00FFFFFF;
    }
    return result;
  }

private:
  int width_;
  int height_;
  void* bits_ = nullptr;
  CScopedMemoryDC dc_;
  CScopedGdiObject bitmap_;
};

}  // namespace

RECT screenArea() {
  const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  return RECT{left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
              top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

std::optional<CPixels> captureScreen(const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) {
    return std::nullopt;
  }
  CCanvas canvas(width, height);
  CScopedScreenDC screen(::GetDC(nullptr));
  if (!canvas.valid() || !screen) {
    return std::nullopt;
  }
  CScopedSelection selection(canvas.dc(), canvas.bitmap());
  if (!::BitBlt(canvas.dc(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY)) {
    return std::nullopt;
  }
  return canvas.pixels();
}

std::optional<CPixels> drawOffScreen(int width, int height, COLORREF background,
                                     const std::function<void(HDC)>& paint) {
  CCanvas canvas(width, height);
  if (!canvas.valid()) {
    return std::nullopt;
  }
  CScopedSelection selection(canvas.dc(), canvas.bitmap());
  CScopedGdiObject brush(::CreateSolidBrush(background));
  RECT all{0, 0, width, height};
  ::FillRect(canvas.dc(), &all, static_cast<HBRUSH>(brush.get()));
  paint(canvas.dc());
  return canvas.pixels();
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
