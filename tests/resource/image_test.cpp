// Pictures under Wine: decoding through the imaging component, the "-x2"
// variants of the bundle, device bitmaps and a dialog's image cache.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/exception.h"
#include "base/bitmap.h"
#include "base/bitmap_device.h"
#include "resource/bundle_test_support.h"
#include "resource/image_cache.h"
#include "base/image_decode.h"
#include "base/png_writer.h"
#include "resource/resource_bundle.h"

namespace {

// 3 x 2, every pixel different, alpha from opaque to clear.
std::vector<std::uint8_t> rgbaSamples() {
  return {255, 0, 0, 255,   0, 255, 0, 200,   0, 0, 255, 128,
          10, 20, 30, 64,   200, 100, 50, 1,  255, 255, 255, 0};
}
// The same pixels as the bitmap holds them: 0xAARRGGBB.
const CBmpPixel kRgbaPixels[6] = {0xFFFF0000, 0xC800FF00, 0x800000FF, 0x400A141E, 0x01C86432, 0x00FFFFFF};

CBmpPixel pixelAt(const XBitmapBase& bitmap, int x, int y) {
  CBmpPixel pixel = 0xDEADBEEF;
  bitmap.readRow(&pixel, x, y, 1);
  return pixel;
}

class Images : public CBundleFixture {
protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override {
    CBundleFixture::TearDown();
    ::CoUninitialize();
  }
};

TEST_F(Images, GrayPngDecodesToGrayPixelsWithoutAlpha) {
  const std::string png = makePng(4, 2, EPngKind::Gray, {0, 60, 128, 255, 1, 2, 254, 77});
  CBmpAlpha bitmap;
  ASSERT_TRUE(decodeImage(png.data(), png.size(), bitmap));
  ASSERT_EQ(bitmap.width(), 4);
  ASSERT_EQ(bitmap.height(), 2);
  const std::uint8_t expected[8] = {0, 60, 128, 255, 1, 2, 254, 77};
  for (int n = 0; n < 8; ++n) {
    const CBmpPixel g = expected[n];
    EXPECT_EQ(pixelAt(bitmap, n % 4, n / 4), g | g << 8 | g << 16) << n;
  }
}

TEST_F(Images, AlphaPngKeepsStraightAlphaInAnAlphaBitmap) {
  const std::string png = makePng(3, 2, EPngKind::Rgba, rgbaSamples());
  CBmpAlpha alpha;
  ASSERT_TRUE(decodeImage(png.data(), png.size(), alpha));
  CBmpColor colour;
  ASSERT_TRUE(decodeImage(png.data(), png.size(), colour));
  ASSERT_EQ(colour.width(), 3);
  for (int n = 0; n < 6; ++n) {
    EXPECT_EQ(pixelAt(alpha, n % 3, n / 3), kRgbaPixels[n]) << n;
    EXPECT_EQ(pixelAt(colour, n % 3, n / 3) & 0xFFFFFF, kRgbaPixels[n] & 0xFFFFFF) << n;
  }
}

TEST_F(Images, DataThatIsNoPictureIsRefused) {
  const std::string png = makePng(3, 2, EPngKind::Rgba, rgbaSamples());
  const std::string inputs[] = {"", "GIF? no, just text", png.substr(0, 8), png.substr(0, png.size() / 2)};
  for (const std::string& input : inputs) {
    CBmpAlpha bitmap;
    EXPECT_FALSE(decodeImage(input.data(), input.size(), bitmap)) << input.size() << " bytes";
  }
}

TEST_F(Images, MissingDoubleVariantIsTheFirstPictureScaledPixelForPixel) {
  useBundle({{"img/a.png", makePng(3, 2, EPngKind::Rgba, rgbaSamples())},
             {"img/b.png", makePng(3, 2, EPngKind::Rgba, rgbaSamples())},
             {"img/b-x2.png", "not a picture"}});
  for (const char* name : {"img/a.png", "img/b.png"}) {
    CBmpAlpha normal;
    CBmpAlpha doubled;
    loadImageResource(name, normal, doubled);
    ASSERT_EQ(doubled.width(), 6) << name;
    ASSERT_EQ(doubled.height(), 4) << name;
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(pixelAt(doubled, x, y), kRgbaPixels[(y / 2) * 3 + x / 2]) << name << " " << x << "," << y;
      }
    }
  }
}

TEST_F(Images, DoubleVariantIsDecodedWhenPresent) {
  useBundle({{"logo.png", makePng(1, 1, EPngKind::Gray, {10})},
             {"logo-x2.png", makePng(2, 2, EPngKind::Gray, {20, 30, 40, 50})}});
  CBmpAlpha normal;
  CBmpAlpha doubled;
  loadImageResource("logo.png", normal, doubled);
  EXPECT_EQ(pixelAt(normal, 0, 0), 0x0A0A0Au);
  EXPECT_EQ(pixelAt(doubled, 1, 0), 0x1E1E1Eu);
  EXPECT_EQ(pixelAt(doubled, 0, 1), 0x282828u);
}

TEST_F(Images, MissingOrBrokenPictureIsARequiredResource) {
  useBundle({{"img/broken.png", "\x89PNG but nothing more"}});
  for (const char* name : {"img/broken.png", "img/missing.png"}) {
    CBmpAlpha normal;
    CBmpAlpha doubled;
    try {
      loadImageResource(name, normal, doubled);
      ADD_FAILURE() << name;
    } catch (const XExceptionResource& e) {
      EXPECT_EQ(e.getText(), L"Required resource cannot be loaded");
    }
  }
}

TEST_F(Images, DeviceBitmapsCarryTheRowsAndTheirLayout) {
  const std::string png = makePng(3, 2, EPngKind::Rgba, rgbaSamples());
  CBmpAlpha bitmap;
  ASSERT_TRUE(decodeImage(png.data(), png.size(), bitmap));
  for (const bool withAlpha : {true, false}) {
    const CScopedBitmap handle = withAlpha ? makeAlphaDeviceBitmap(bitmap) : makeDeviceBitmap(bitmap);
    ASSERT_TRUE(handle);
    DIBSECTION section{};
    ASSERT_EQ(::GetObjectW(handle.get(), sizeof section, &section), static_cast<int>(sizeof section));
    EXPECT_EQ(section.dsBmih.biWidth, 3);
    EXPECT_EQ(section.dsBmih.biHeight, 2) << "bottom-up";
    EXPECT_EQ(section.dsBmih.biBitCount, 32);
    EXPECT_EQ(section.dsBmih.biCompression, static_cast<DWORD>(withAlpha ? BI_BITFIELDS : BI_RGB));
    if (withAlpha) {
      EXPECT_EQ(section.dsBitfields[0], 0x00FF0000u);
      EXPECT_EQ(section.dsBitfields[2], 0x000000FFu);
    }
    // The section's first row is the picture's bottom row.
    const auto* bits = static_cast<const std::uint32_t*>(section.dsBm.bmBits);
    for (int n = 0; n < 3; ++n) {
      EXPECT_EQ(bits[n], kRgbaPixels[3 + n]);
      EXPECT_EQ(bits[3 + n], kRgbaPixels[n]);
    }
  }
}

TEST_F(Images, CacheGivesBitmapsForNamesAndSystemIconsForNumbers) {
  useBundle({{"img/p.png", makePng(3, 2, EPngKind::Rgba, rgbaSamples())}});
  CImageCache cache;
  const CImageEntry& picture = cache.imageFor(L"img/p.png");
  EXPECT_EQ(picture.kind, CImageEntry::Bitmap);
  EXPECT_EQ(picture.sizeFor(96).cx, 3);
  EXPECT_EQ(picture.sizeFor(191).cy, 2);
  EXPECT_EQ(picture.sizeFor(192).cx, 6);
  EXPECT_EQ(picture.handleFor(96), picture.normalBitmap.get());
  EXPECT_EQ(picture.handleFor(192), picture.doubleBitmap.get());
  EXPECT_EQ(&cache.imageFor(L"img/p.png"), &picture) << "loaded once";

  const CImageEntry& icon = cache.imageFor(L"32516");  // the information icon
  EXPECT_EQ(icon.kind, CImageEntry::Icon);
  for (const auto& [handle, size] : {std::pair{icon.normalIcon.get(), 32}, std::pair{icon.doubleIcon.get(), 64}}) {
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(handle, &info));
    BITMAP colour{};
    ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, size);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
  }
  EXPECT_THROW(cache.imageFor(L"img/none.png"), XExceptionResource);
  EXPECT_THROW(cache.imageFor(L"img/none.png"), XExceptionResource) << "a failure is not kept";
}

}  // namespace
