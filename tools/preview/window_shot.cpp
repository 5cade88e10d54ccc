#include "preview/window_shot.h"

#include <cstdint>
#include <vector>

#include "app/exception.h"
#include "base/dib_canvas_win.h"
#include "base/png_file_win.h"

void saveWindowPng(HWND window, const std::wstring& path) {
  RECT area{};
  ::GetWindowRect(window, &area);
  const std::vector<std::uint32_t> pixels = copyScreenPixels(area);
  if (pixels.empty() || !writePngFile(path, area.right - area.left, area.bottom - area.top, pixels.data())) {
    ::DeleteFileW(path.c_str());
    throw XExceptionGeneral(L"The picture of the window could not be written to " + path);
  }
}
