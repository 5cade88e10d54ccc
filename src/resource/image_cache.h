// The pictures of one dialog, by the `src` text of their markup: loaded on
// first use and kept while the dialog lives.  Windows only.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "base/bitmap_device.h"
#include "base/scoped_handle.h"

struct CImageEntry {
  enum Kind { Bitmap = 0, Icon = 1 };

  // For Bitmap: alpha device bitmaps; for Icon: the system icon at two sizes.
  CScopedBitmap normalBitmap;
  CScopedBitmap doubleBitmap;
  CScopedIcon normalIcon;
  CScopedIcon doubleIcon;
  SIZE normalSize{};
  SIZE doubleSize{};
  Kind kind = Bitmap;

  // The double-resolution picture from 192 DPI on, the normal one below.
  bool useDouble(UINT dpi) const noexcept { return dpi >= 192; }
  HANDLE handleFor(UINT dpi) const noexcept;
  SIZE sizeFor(UINT dpi) const noexcept { return useDouble(dpi) ? doubleSize : normalSize; }
};

class CImageCache {
public:
  // A `src` that is a number names a system icon (32 and 64 pixels); any
  // other text names a picture of the bundle and its "-x2" variant.  A
  // picture that cannot be loaded throws XExceptionResource and is not kept.
  const CImageEntry& imageFor(std::wstring_view src);

private:
  std::map<std::wstring, std::unique_ptr<CImageEntry>, std::less<>> entries_;
};
