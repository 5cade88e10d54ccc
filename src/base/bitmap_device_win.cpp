#include "base/bitmap_device.h"

#include <cstring>

namespace {

// Pixels per metre of a 96 DPI picture.
constexpr LONG kPixelsPerMetre = 11811;

// The section's rows are the bitmap's rows: both are bottom-up, 4 bytes a pixel.
CScopedBitmap sectionWithRows(const BITMAPINFO* info, const XBitmap<CBmpPixel>& bitmap) {
  void* bits = nullptr;
  CScopedBitmap section(::CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!section || !bits) {
    return {};
  }
  const std::size_t rowBytes = static_cast<std::size_t>(bitmap.width()) * 4;
  const auto* from = bitmap.pixels();
  auto* to = static_cast<std::uint8_t*>(bits);
  if (bitmap.stride() == bitmap.width()) {
    std::memcpy(to, from, rowBytes * bitmap.height());
  } else {
    for (int row = 0; row < bitmap.height(); ++row) {
      std::memcpy(to + row * rowBytes, from + static_cast<std::size_t>(row) * bitmap.stride(), rowBytes);
    }
  }
  ::GdiFlush();
  return section;
}

}  // namespace

CScopedBitmap makeDeviceBitmap(const XBitmap<CBmpPixel>& bitmap) {
  BITMAPINFO info{};
  BITMAPINFOHEADER& header = info.bmiHeader;
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = bitmap.width();
  header.biHeight = bitmap.height();
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  header.biXPelsPerMeter = kPixelsPerMetre;
  header.biYPelsPerMeter = kPixelsPerMetre;
  return sectionWithRows(&info, bitmap);
}

CScopedBitmap makeAlphaDeviceBitmap(const XBitmap<CBmpPixel>& bitmap) {
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof(BITMAPV5HEADER);
  header.bV5Width = bitmap.width();
  header.bV5Height = bitmap.height();
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_BITFIELDS;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  header.bV5CSType = 0x57696E20;  // "Win ": the system colour space
  return sectionWithRows(reinterpret_cast<const BITMAPINFO*>(&header), bitmap);
}

CScopedBitmap makeDeviceBitmapFor(const XBitmap<CBmpPixel>& bitmap) {
  if (bitmap.pixelFormat() == EBmpFormat::Bgra32) {
    return makeAlphaDeviceBitmap(bitmap);
  }
  return makeDeviceBitmap(bitmap);
}
