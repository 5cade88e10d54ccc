// Screenshots of the whole screen as PNG (through WIC) or BMP files.
#include <windows.h>

#include <cwctype>

#include "base/png_file_win.h"
#include "base/scoped_handle.h"
#include "support/screen_pixels.h"
#include "support/ui_driver.h"

namespace ui {
namespace {

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
  const bool written = endsWithPng(path) ? writePngFile(path, screen->width, screen->height, screen->data.data())
                                         : writeBmp(path, *screen);
  if (!written) {
    ::DeleteFileW(path.c_str());
  }
  return written;
}

}  // namespace ui
