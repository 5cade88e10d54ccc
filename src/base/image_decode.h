// Pictures from memory (PNG and whatever else the platform's imaging
// component reads) into the setup's bitmaps.  Windows only.
#pragma once

#include <cstddef>

#include "base/bitmap.h"

// Fills the bitmap from the encoded picture: 8-bit gray pictures through the
// gray rows, all others colour-managed to sRGB in the bitmap's own pixel
// format.  False when the data cannot be decoded or no imaging factory can be
// had; the bitmap may then hold part of a picture.
bool decodeImage(const void* data, std::size_t size, XBitmapBase& bitmap);
