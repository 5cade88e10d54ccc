// Owners of GDI objects (device contexts, bitmaps, other objects) and of an
// object's selection into a device context, on the pattern of scoped_handle.h.
#pragma once

#include <windows.h>

#include "base/scoped_handle.h"

namespace handle_traits {

// A device context of the whole screen, from GetDC(nullptr).
struct ScreenDC {
  using Handle = HDC;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept { ::ReleaseDC(nullptr, h); }
};

// A device context from CreateCompatibleDC.
struct MemoryDC {
  using Handle = HDC;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept { ::DeleteDC(h); }
};

struct GdiObject {
  using Handle = HGDIOBJ;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept { ::DeleteObject(h); }
};

struct Font {
  using Handle = HFONT;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept { ::DeleteObject(h); }
};

struct GdiBitmap {
  using Handle = HBITMAP;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept { ::DeleteObject(h); }
};

}  // namespace handle_traits

using CScopedScreenDC = TScopedHandle<handle_traits::ScreenDC>;
using CScopedMemoryDC = TScopedHandle<handle_traits::MemoryDC>;
using CScopedGdiObject = TScopedHandle<handle_traits::GdiObject>;
using CScopedBitmap = TScopedHandle<handle_traits::GdiBitmap>;
using CScopedFont = TScopedHandle<handle_traits::Font>;

// Selects an object into a device context and puts the previous one back.
class CScopedSelection {
public:
  CScopedSelection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
  ~CScopedSelection() { ::SelectObject(dc_, previous_); }
  CScopedSelection(const CScopedSelection&) = delete;
  CScopedSelection& operator=(const CScopedSelection&) = delete;

private:
  HDC dc_;
  HGDIOBJ previous_;
};
