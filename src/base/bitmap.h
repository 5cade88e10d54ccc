// The setup's bitmaps: 32-bit pixels in memory, rows stored bottom-up as
// device-independent bitmaps have them, so that a bitmap becomes a device
// bitmap by copying its buffer.
//
// Pixels are 0xAARRGGBB in a 32-bit word (blue in the lowest byte).  Rows are
// read and written through the interface, one span at a time, so that the
// decoder, the scaler and the gray conversion work on any bitmap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// 32 bits in both trees: unsigned long on Windows, where the pixel type is
// named so; the host tree's long is wider.
#ifdef _WIN32
using CBmpPixel = unsigned long;
#else
using CBmpPixel = std::uint32_t;
#endif
static_assert(sizeof(CBmpPixel) == 4, "pixels are 32 bits wide");

// The pixel layouts the decoder can be asked for.
enum class EBmpFormat {
  Bgr32,   // blue, green, red, unused
  Bgra32,  // blue, green, red, straight alpha
};

class XBitmapBase {
public:
  virtual ~XBitmapBase() = default;

  virtual EBmpFormat pixelFormat() const = 0;
  // Spans of a logical row (row 0 is the top).  A span is clipped to the
  // bitmap; a row outside it reads and writes nothing.
  virtual void readRowGray(std::uint8_t* destination, int x, int y, int count) const = 0;
  virtual void readRow(CBmpPixel* destination, int x, int y, int count) const = 0;
  virtual void writeRowGray(const std::uint8_t* source, int x, int y, int count) = 0;
  virtual void writeRow(const CBmpPixel* source, int x, int y, int count) = 0;
  // Makes the bitmap width x height, all pixels 0, and returns its buffer.  A
  // side below 0 or above 16384 throws XExceptionLength.
  virtual CBmpPixel* create(int width, int height) = 0;

  virtual int width() const = 0;
  virtual int height() const = 0;
};

template <class Pixel>
class XBitmap : public XBitmapBase {
public:
  EBmpFormat pixelFormat() const override { return EBmpFormat::Bgr32; }
  void readRowGray(std::uint8_t* destination, int x, int y, int count) const override;
  void readRow(CBmpPixel* destination, int x, int y, int count) const override;
  void writeRowGray(const std::uint8_t* source, int x, int y, int count) override;
  void writeRow(const CBmpPixel* source, int x, int y, int count) override;
  CBmpPixel* create(int width, int height) override;

  int width() const override { return width_; }
  int height() const override { return height_; }
  // Pixels per buffer row: the width rounded up to a multiple of 4.
  int stride() const noexcept { return stride_; }
  // The buffer, bottom row first; 32-byte aligned, with one spare row.
  const Pixel* pixels() const noexcept { return reinterpret_cast<const Pixel*>(blocks_.data()); }
  Pixel* pixels() noexcept { return reinterpret_cast<Pixel*>(blocks_.data()); }

private:
  // The buffer's unit: eight pixels, so that a vector of them is 32-byte aligned.
  struct alignas(32) CBlock {
    Pixel pixels[8];
  };
  Pixel* rowPointer(int y) noexcept { return pixels() + static_cast<std::size_t>(height_ - y - 1) * stride_; }
  const Pixel* rowPointer(int y) const noexcept {
    return pixels() + static_cast<std::size_t>(height_ - y - 1) * stride_;
  }
  // The part of a span inside the bitmap, as (first x, count); count 0 when none.
  bool clip(int& x, int y, int& count, int& skipped) const noexcept;

  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;
  std::vector<CBlock> blocks_;
};

extern template class XBitmap<CBmpPixel>;

class CBmpColor : public XBitmap<CBmpPixel> {
public:
  EBmpFormat pixelFormat() const override { return EBmpFormat::Bgr32; }
};

class CBmpAlpha : public XBitmap<CBmpPixel> {
public:
  EBmpFormat pixelFormat() const override { return EBmpFormat::Bgra32; }
};

struct CBmpRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// Copies the area both bitmaps cover, from their top-left corners.
void copyBitmap(const XBitmapBase& source, XBitmapBase& destination);

// Nearest-neighbour resampling of the source rectangle into a destination of
// width x height.  False, with the destination untouched, when the
// destination would be narrower or lower than 2 pixels or the rectangle does
// not overlap the source.  A rectangle that already has the requested size
// (after clipping to the source) is copied as it is.
bool scaleBitmap(const XBitmapBase& source, const CBmpRect& rectangle, int width, int height,
                 XBitmapBase& destination);
