// The setup's bitmaps as device-independent bitmap handles for controls and
// drawing.  Windows only.
#pragma once

#include <windows.h>

#include "base/bitmap.h"
#include "base/gdi_handles.h"

// A plain 32-bit bottom-up bitmap (the alpha byte is not used).
CScopedBitmap makeDeviceBitmap(const XBitmap<CBmpPixel>& bitmap);
// A 32-bit bitmap with straight alpha in bit fields, for alpha blending
// (what a CBmpAlpha holds).
CScopedBitmap makeAlphaDeviceBitmap(const XBitmap<CBmpPixel>& bitmap);
// The one that fits the bitmap's class.
CScopedBitmap makeDeviceBitmapFor(const XBitmap<CBmpPixel>& bitmap);
