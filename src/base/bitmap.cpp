#include "base/bitmap.h"

#include <algorithm>
#include <cstring>

#include "app/exception.h"
#include "base/bitmap_gray.h"

template <class Pixel>
bool XBitmap<Pixel>::clip(int& x, int y, int& count, int& skipped) const noexcept {
  skipped = 0;
  if (y < 0 || y >= height_ || count <= 0 || x >= width_) {
    return false;
  }
  if (x < 0) {
    skipped = -x;
    count += x;
    x = 0;
  }
  count = std::min(count, width_ - x);
  return count > 0;
}

template <class Pixel>
void XBitmap<Pixel>::readRowGray(std::uint8_t* destination, int x, int y, int count) const {
  int skipped = 0;
  if (clip(x, y, count, skipped)) {
    grayFromPixels(rowPointer(y) + x, destination + skipped, count);
  }
}

template <class Pixel>
void XBitmap<Pixel>::readRow(CBmpPixel* destination, int x, int y, int count) const {
  int skipped = 0;
  if (clip(x, y, count, skipped)) {
    std::memcpy(destination + skipped, rowPointer(y) + x, static_cast<std::size_t>(count) * sizeof(Pixel));
  }
}

template <class Pixel>
void XBitmap<Pixel>::writeRowGray(const std::uint8_t* source, int x, int y, int count) {
  int skipped = 0;
  if (clip(x, y, count, skipped)) {
    pixelsFromGray(source + skipped, rowPointer(y) + x, count);
  }
}

template <class Pixel>
void XBitmap<Pixel>::writeRow(const CBmpPixel* source, int x, int y, int count) {
  int skipped = 0;
  if (clip(x, y, count, skipped)) {
    std::memcpy(rowPointer(y) + x, source + skipped, static_cast<std::size_t>(count) * sizeof(Pixel));
  }
}

template <class Pixel>
CBmpPixel* XBitmap<Pixel>::create(int width, int height) {
  // Far above any picture of the setup, and low enough that the buffer's size
  // cannot overflow.
  constexpr int kLargest = 16384;
  if (width < 0 || height < 0 || width > kLargest || height > kLargest) {
    throw XExceptionLength(L"The picture size is out of range");
  }
  const int stride = (width + 3) / 4 * 4;
  const std::size_t pixelCount = static_cast<std::size_t>(stride) * (static_cast<std::size_t>(height) + 1);
  std::vector<CBlock> blocks((pixelCount + 7) / 8, CBlock{});
  blocks_ = std::move(blocks);
  width_ = width;
  height_ = height;
  stride_ = stride;
  return pixels();
}

template class XBitmap<CBmpPixel>;

void copyBitmap(const XBitmapBase& source, XBitmapBase& destination) {
  const int width = std::min(source.width(), destination.width());
  const int height = std::min(source.height(), destination.height());
  if (width <= 0) {
    return;
  }
  std::vector<CBmpPixel> row(static_cast<std::size_t>(width));
  for (int y = 0; y < height; ++y) {
    source.readRow(row.data(), 0, y, width);
    destination.writeRow(row.data(), 0, y, width);
  }
}

bool scaleBitmap(const XBitmapBase& source, const CBmpRect& rectangle, int width, int height,
                 XBitmapBase& destination) {
  if (width < 2 || height < 2) {
    return false;
  }
  const int left = std::max(rectangle.left, 0);
  const int top = std::max(rectangle.top, 0);
  const int right = std::min(rectangle.right, source.width());
  const int bottom = std::min(rectangle.bottom, source.height());
  if (left >= right || top >= bottom) {
    return false;
  }
  const int sourceWidth = right - left;
  const int sourceHeight = bottom - top;
  destination.create(width, height);

  std::vector<CBmpPixel> sourceRow(static_cast<std::size_t>(sourceWidth));
  std::vector<CBmpPixel> row(static_cast<std::size_t>(width));
  const bool sameSize = sourceWidth == width && sourceHeight == height;
  int previous = -1;
  for (int i = 0; i < height; ++i) {
    const int from = static_cast<int>(static_cast<std::int64_t>(i) * sourceHeight / height);
    if (from != previous) {
      source.readRow(sourceRow.data(), left, top + from, sourceWidth);
      if (sameSize) {
        row = sourceRow;
      } else {
        for (int j = 0; j < width; ++j) {
          row[j] = sourceRow[static_cast<std::size_t>(static_cast<std::int64_t>(j) * sourceWidth / width)];
        }
      }
      previous = from;
    }
    destination.writeRow(row.data(), 0, i, width);
  }
  return true;
}
