// Screenshots of the whole screen as PNG (through WIC) or BMP files.
#include <wincodec.h>

#include <cwctype>

#include "base/com_ptr.h"
#include "base/scoped_handle.h"
#include "support/screen_pixels.h"
#include "support/ui_driver.h"

namespace ui {
namespace {

// COM for the calling thread, for as long as the screenshot takes; a thread
// that already has COM in another model keeps it.
class CComScope {
public:
  CComScope() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~CComScope() {
    if (SUCCEEDED(result_)) {
      ::CoUninitialize();
    }
  }
  CComScope(const CComScope&) = delete;
  CComScope& operator=(const CComScope&) = delete;

private:
  HRESULT result_;
};

bool endsWithPng(const std::wstring& path) {
  if (path.size() < 4) {
    return false;
  }
  std::wstring tail = path.substr(path.size() - 4);
  for (wchar_t& c : tail) {
    c = static_cast<wchar_t>(std::towlower(c));
  }
  return tail == L".png";
}

UINT strideOf(const CPixels& pixels) { return static_cast<UINT>(pixels.width) * 4; }

bool writePng(const std::wstring& path, CPixels& pixels) {
  CComScope com;
  TComPtr<IWICImagingFactory> factory;
  TComPtr<IWICBitmap> bitmap;
  TComPtr<IWICStream> stream;
  TComPtr<IWICBitmapEncoder> encoder;
  TComPtr<IWICBitmapFrameEncode> frame;
  const UINT size = strideOf(pixels) * static_cast<UINT>(pixels.height);
  return SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory, factory.receiveVoid())) &&
         SUCCEEDED(factory->CreateBitmapFromMemory(
             pixels.width, pixels.height, GUID_WICPixelFormat32bppBGR, strideOf(pixels), size,
             reinterpret_cast<BYTE*>(pixels.data.data()), bitmap.receive())) &&
         SUCCEEDED(factory->CreateStream(stream.receive())) &&
         SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
         SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.receive())) &&
         SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
         SUCCEEDED(encoder->CreateNewFrame(frame.receive(), nullptr)) &&
         SUCCEEDED(frame->Initialize(nullptr)) &&
         SUCCEEDED(frame->SetSize(pixels.width, pixels.height)) &&
         SUCCEEDED(frame->WriteSource(bitmap.get(), nullptr)) && SUCCEEDED(frame->Commit()) &&
         SUCCEEDED(encoder->Commit()) && SUCCEEDED(stream->Commit(STGC_DEFAULT));
}

bool writeAll(HANDLE file, const void* data, size_t size) {
  DWORD written = 0;
  return ::WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

// A 32-bit top-down BMP: the pixels as they are, behind the two headers.
bool writeBmp(const std::wstring& path, const CPixels& pixels) {
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = pixels.width;
  info.biHeight = -pixels.height;
  info.biPlanes = 1;
  info.biBitCount = 32;
  info.biCompression = BI_RGB;
  const size_t bytes = pixels.data.size() * sizeof(uint32_t);
  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;  // "BM"
  header.bfOffBits = sizeof(header) + sizeof(info);
  header.bfSize = static_cast<DWORD>(header.bfOffBits + bytes);

  CScopedFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  return file && writeAll(file.get(), &header, sizeof(header)) &&
         writeAll(file.get(), &info, sizeof(info)) &&
         writeAll(file.get(), pixels.data.data(), bytes);
}

}  // namespace

bool saveScreenshot(const std::wstring& path) {
  std::optional<CPixels> screen = captureScreen(screenArea());
  if (!screen) {
    return false;
  }
  const bool written = endsWithPng(path) ? writePng(path, *screen) : writeBmp(path, *screen);
  if (!written) {
    ::DeleteFileW(path.c_str());
  }
  return written;
}

}  // namespace ui
