// Screenshots are real images of the whole screen, in both formats.
#include <wincodec.h>

#include <gtest/gtest.h>

#include "base/com_ptr.h"
#include "harness/test_window.h"
#include "support/paths.h"
#include "support/polling.h"
#include "support/screen_pixels.h"
#include "support/ui_driver.h"

namespace {

struct CDecoded {
  UINT width = 0;
  UINT height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows from the top

  uint32_t at(POINT p) const { return pixels[static_cast<size_t>(p.y) * width + p.x] & 0x00FFFFFF; }
};

// Decodes an image file with WIC, whatever its format.
std::optional<CDecoded> decode(const std::wstring& path) {
  TComPtr<IWICImagingFactory> factory;
  TComPtr<IWICBitmapDecoder> decoder;
  TComPtr<IWICBitmapFrameDecode> frame;
  TComPtr<IWICFormatConverter> converter;
  CDecoded image;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.receiveVoid())) ||
      FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                decoder.receive())) ||
      FAILED(decoder->GetFrame(0, frame.receive())) || FAILED(frame->GetSize(&image.width, &image.height)) ||
      FAILED(factory->CreateFormatConverter(converter.receive())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom))) {
    return std::nullopt;
  }
  image.pixels.resize(static_cast<size_t>(image.width) * image.height);
  if (FAILED(converter->CopyPixels(nullptr, image.width * 4, static_cast<UINT>(image.pixels.size() * 4),
                                   reinterpret_cast<BYTE*>(image.pixels.data())))) {
    return std::nullopt;
  }
  return image;
}

// True once the screen shows the test window's fill colour at `point`, within
// the time limit: the window is on screen and painted.
bool showsFillColour(POINT point) {
  return ui::pollUntil(ui::kDefaultTimeoutMs, [point] {
    const std::optional<ui::CPixels> pixel = ui::captureScreen(RECT{point.x, point.y, point.x + 1, point.y + 1});
    return pixel && (pixel->at(0, 0) & 0x00FFFFFFu) == 0xFF00FFu;
  });
}

class Screenshot : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override { ::CoUninitialize(); }
};

TEST_F(Screenshot, IsAnImageOfTheWholeScreenInEitherFormat) {
  harness::CTestWindow window(L"Harness screenshot");
  ASSERT_NE(window.hwnd(), nullptr);
  ASSERT_TRUE(ui::waitForWindow({.caption = L"Harness screenshot"}));
  ASSERT_TRUE(showsFillColour(window.fillPoint())) << "the window never painted";
  support::CTempFolder folder;
  for (const wchar_t* name : {L"screen.png", L"screen.bmp"}) {
    SCOPED_TRACE(name);
    const std::wstring path = folder / name;
    ASSERT_TRUE(ui::saveScreenshot(path));
    const std::optional<CDecoded> image = decode(path);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, static_cast<UINT>(::GetSystemMetrics(SM_CXSCREEN)));
    EXPECT_EQ(image->height, static_cast<UINT>(::GetSystemMetrics(SM_CYSCREEN)));
    EXPECT_EQ(image->at(window.fillPoint()), 0xFF00FFu) << "the test window's fill colour where it is on screen";
    EXPECT_NE(image->at(POINT{2, 2}), 0xFF00FFu) << "the screen outside the window";
  }
}

TEST_F(Screenshot, AnUnwritablePathFails) {
  support::CTempFolder folder;
  EXPECT_FALSE(ui::saveScreenshot(folder / L"missing\\screen.png"));
  EXPECT_FALSE(ui::saveScreenshot(folder / L"missing\\screen.bmp"));
}

}  // namespace
