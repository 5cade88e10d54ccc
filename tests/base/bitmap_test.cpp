// The bitmap classes: their row layout, gray conversion on both paths,
// clipping copies and nearest-neighbour scaling.
#include <gtest/gtest.h>

#include <vector>

#include "base/bitmap.h"
#include "base/bitmap_gray.h"
#include "support/thrown_member.h"

namespace {

// A bitmap whose every pixel tells where it is: 0xYYXX plus a marker.
void fillWithPositions(XBitmapBase& bitmap, int width, int height) {
  bitmap.create(width, height);
  std::vector<CBmpPixel> row(static_cast<std::size_t>(width));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      row[x] = 0xAB000000u | static_cast<CBmpPixel>(y << 8 | x);
    }
    bitmap.writeRow(row.data(), 0, y, width);
  }
}

CBmpPixel pixelAt(const XBitmapBase& bitmap, int x, int y) {
  CBmpPixel pixel = 0xDEADBEEF;
  bitmap.readRow(&pixel, x, y, 1);
  return pixel;
}

float referenceGray(CBmpPixel pixel) {
  const float b = static_cast<float>(pixel & 0xFF);
  const float g = static_cast<float>((pixel >> 8) & 0xFF);
  const float r = static_cast<float>((pixel >> 16) & 0xFF);
  return 0.114f * b + 0.587f * g + 0.299f * r;
}

TEST(Bitmap, CreateGivesZeroedBottomUpRowsWithAlignedStride) {
  CBmpAlpha bitmap;
  const CBmpPixel* buffer = bitmap.create(5, 3);
  EXPECT_EQ(bitmap.width(), 5);
  EXPECT_EQ(bitmap.height(), 3);
  EXPECT_EQ(bitmap.stride(), 8);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(buffer) % 32, 0u);
  for (int n = 0; n < 8 * 4; ++n) {
    EXPECT_EQ(buffer[n], 0u);
  }
  const CBmpPixel top[5] = {1, 2, 3, 4, 5};
  bitmap.writeRow(top, 0, 0, 5);
  // The top row is the last row of the buffer.
  EXPECT_EQ(bitmap.pixels()[2 * 8], 1u);
  EXPECT_EQ(bitmap.pixels()[2 * 8 + 4], 5u);
  EXPECT_EQ(bitmap.pixelFormat(), EBmpFormat::Bgra32);
  EXPECT_EQ(CBmpColor().pixelFormat(), EBmpFormat::Bgr32);
}

TEST(Bitmap, ASideBelowZeroOrAbove16384IsRefusedAndTheBitmapKept) {
  const int refused[][2] = {{-1, 1}, {1, -1}, {16385, 1}, {1, 16385}};
  for (const auto& size : refused) {
    CBmpColor bitmap;
    bitmap.create(2, 3);
    EXPECT_TRUE(throwsMember<XExceptionLength>([&] { bitmap.create(size[0], size[1]); },
                                               L"The picture size is out of range"))
        << size[0] << " x " << size[1];
    EXPECT_EQ(bitmap.width(), 2);
    EXPECT_EQ(bitmap.height(), 3);
  }
  CBmpColor largest;
  largest.create(16384, 1);
  EXPECT_EQ(largest.width(), 16384);
}

TEST(Bitmap, RowSpansAreClippedToTheBitmap) {
  CBmpColor bitmap;
  fillWithPositions(bitmap, 4, 2);
  CBmpPixel row[6] = {0, 0, 0, 0, 0, 0};
  bitmap.readRow(row, -1, 1, 6);
  EXPECT_EQ(row[0], 0u);
  EXPECT_EQ(row[1], 0xAB000100u);
  EXPECT_EQ(row[4], 0xAB000103u);
  EXPECT_EQ(row[5], 0u);
  bitmap.readRow(row, 0, 2, 6);  // below the bitmap: nothing read
  bitmap.readRow(row, 0, -1, 6);
  EXPECT_EQ(row[5], 0u);
  const CBmpPixel ones[6] = {1, 1, 1, 1, 1, 1};
  bitmap.writeRow(ones, 2, 0, 6);
  EXPECT_EQ(pixelAt(bitmap, 1, 0), 0xAB000001u);
  EXPECT_EQ(pixelAt(bitmap, 3, 0), 1u);
  bitmap.writeRow(ones, 0, 5, 6);
  EXPECT_EQ(pixelAt(bitmap, 0, 1), 0xAB000100u);
}

// Gray depends on blue, green and red only: all 2^24 of them are compared,
// through both paths, with each other and with the rule itself.
TEST(BitmapGray, VectorPathEqualsThePerPixelRuleForEveryColour) {
  constexpr int kChunk = 1 << 16;
  std::vector<CBmpPixel> pixels(kChunk + 3);
  std::vector<std::uint8_t> scalar(kChunk + 3), vector(kChunk + 3);
  bool vectorPath = true;
  int mismatches = 0;
  for (std::uint32_t red = 0; red < 256; ++red) {
    for (int n = 0; n < kChunk; ++n) {
      // Alpha varies as well: it must not count.
      pixels[n] = static_cast<CBmpPixel>((static_cast<std::uint32_t>(n * 7) << 24) | red << 16 | n);
    }
    // Three more to leave a tail that is no multiple of four.
    pixels[kChunk] = pixels[0];
    pixels[kChunk + 1] = pixels[1];
    pixels[kChunk + 2] = pixels[kChunk - 1];
    grayFromPixelsScalar(pixels.data(), scalar.data(), kChunk + 3);
    vectorPath = grayFromPixelsVector(pixels.data(), vector.data(), kChunk + 3);
    for (int n = 0; n < kChunk + 3; ++n) {
      const int expected = static_cast<int>(referenceGray(pixels[n]));
      mismatches += scalar[n] != std::min(expected, 255);
      mismatches += vectorPath && vector[n] != scalar[n];
    }
  }
  EXPECT_EQ(mismatches, 0);
#if defined(__x86_64__)
  EXPECT_TRUE(vectorPath) << "an x86-64 processor has a vector path";
#endif
}

TEST(BitmapGray, WritingGrayEqualsTheRuleOnBothPaths) {
  std::vector<std::uint8_t> gray(259);
  for (int n = 0; n < 259; ++n) {
    gray[n] = static_cast<std::uint8_t>(n);
  }
  std::vector<CBmpPixel> scalar(259, 0xFFFFFFFF), vector(259, 0xFFFFFFFF);
  pixelsFromGrayScalar(gray.data(), scalar.data(), 259);
  const bool vectorPath = pixelsFromGrayVector(gray.data(), vector.data(), 259);
  for (int n = 0; n < 259; ++n) {
    const CBmpPixel g = gray[n];
    ASSERT_EQ(scalar[n], g | g << 8 | g << 16) << n;
    if (vectorPath) {
      ASSERT_EQ(vector[n], scalar[n]) << n;
    }
  }
}

TEST(BitmapGray, RowsThroughTheBitmap) {
  CBmpAlpha bitmap;
  bitmap.create(3, 1);
  const CBmpPixel colours[3] = {0xFF0000FF, 0xFF00FF00, 0xFFFFFFFF};
  bitmap.writeRow(colours, 0, 0, 3);
  std::uint8_t gray[3] = {};
  bitmap.readRowGray(gray, 0, 0, 3);
  EXPECT_EQ(gray[0], 29);   // 0.114 x 255
  EXPECT_EQ(gray[1], 149);  // 0.587 x 255
  EXPECT_EQ(gray[2], 255);
  const std::uint8_t values[3] = {0, 128, 255};
  bitmap.writeRowGray(values, 0, 0, 3);
  EXPECT_EQ(pixelAt(bitmap, 0, 0), 0u);
  EXPECT_EQ(pixelAt(bitmap, 1, 0), 0x808080u);  // alpha 0
  EXPECT_EQ(pixelAt(bitmap, 2, 0), 0xFFFFFFu);
}

TEST(BitmapCopy, CopiesTheOverlapOnly) {
  CBmpColor source;
  fillWithPositions(source, 3, 4);
  CBmpColor wide;
  wide.create(5, 2);
  copyBitmap(source, wide);
  EXPECT_EQ(pixelAt(wide, 2, 1), 0xAB000102u);
  EXPECT_EQ(pixelAt(wide, 3, 1), 0u);
  EXPECT_EQ(pixelAt(wide, 0, 0), 0xAB000000u);
}

TEST(BitmapScale, DoublingRepeatsEveryPixelTwoByTwo) {
  CBmpAlpha source;
  fillWithPositions(source, 3, 2);
  CBmpAlpha doubled;
  ASSERT_TRUE(scaleBitmap(source, {0, 0, 3, 2}, 6, 4, doubled));
  ASSERT_EQ(doubled.width(), 6);
  ASSERT_EQ(doubled.height(), 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) {
      EXPECT_EQ(pixelAt(doubled, x, y), pixelAt(source, x / 2, y / 2)) << x << "," << y;
    }
  }
}

TEST(BitmapScale, SizesAndRectangles) {
  CBmpColor source;
  fillWithPositions(source, 8, 6);
  CBmpColor out;
  out.create(1, 1);
  EXPECT_FALSE(scaleBitmap(source, {0, 0, 8, 6}, 1, 4, out));
  EXPECT_FALSE(scaleBitmap(source, {0, 0, 8, 6}, 4, 1, out));
  EXPECT_FALSE(scaleBitmap(source, {8, 0, 12, 6}, 4, 4, out));
  EXPECT_FALSE(scaleBitmap(source, {2, 2, 2, 5}, 4, 4, out));
  EXPECT_EQ(out.width(), 1) << "a refused scale leaves the destination alone";

  // The same size copies the rectangle as it is.
  ASSERT_TRUE(scaleBitmap(source, {0, 0, 8, 6}, 8, 6, out));
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) {
      ASSERT_EQ(pixelAt(out, x, y), pixelAt(source, x, y));
    }
  }
  // A rectangle that reaches past the bitmap is clipped first: 6 x 4 source
  // pixels from (2, 2) to 6 x 4 is a copy.
  ASSERT_TRUE(scaleBitmap(source, {2, 2, 10, 9}, 6, 4, out));
  EXPECT_EQ(pixelAt(out, 0, 0), pixelAt(source, 2, 2));
  EXPECT_EQ(pixelAt(out, 5, 3), pixelAt(source, 7, 5));
  // Halving takes every second row and column.
  ASSERT_TRUE(scaleBitmap(source, {0, 0, 8, 6}, 4, 3, out));
  EXPECT_EQ(pixelAt(out, 1, 1), pixelAt(source, 2, 2));
  EXPECT_EQ(pixelAt(out, 3, 2), pixelAt(source, 6, 4));
  // Three source columns onto seven: floor(j x 3 / 7).
  ASSERT_TRUE(scaleBitmap(source, {0, 0, 3, 2}, 7, 2, out));
  const int columns[7] = {0, 0, 0, 1, 1, 2, 2};
  for (int j = 0; j < 7; ++j) {
    EXPECT_EQ(pixelAt(out, j, 1), pixelAt(source, columns[j], 1)) << j;
  }
}

}  // namespace
