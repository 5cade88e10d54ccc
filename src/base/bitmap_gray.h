// Gray conversion of pixel spans: gray = 0.114 blue + 0.587 green + 0.299 red
// in single precision, truncated to 0..255; a gray value g becomes the pixel
// with blue = green = red = g and alpha 0.  Four pixels at a time with the
// processor's vector instructions when it has them (chosen once per process);
// the results are those of the per-pixel rule.
#pragma once

#include <cstdint>

#include "base/bitmap.h"

void grayFromPixels(const CBmpPixel* pixels, std::uint8_t* gray, int count) noexcept;
void pixelsFromGray(const std::uint8_t* gray, CBmpPixel* pixels, int count) noexcept;

// The two paths one by one, for the test that they agree.
void grayFromPixelsScalar(const CBmpPixel* pixels, std::uint8_t* gray, int count) noexcept;
void pixelsFromGrayScalar(const std::uint8_t* gray, CBmpPixel* pixels, int count) noexcept;
// False when this processor or build has no vector path; nothing is written.
bool grayFromPixelsVector(const CBmpPixel* pixels, std::uint8_t* gray, int count) noexcept;
bool pixelsFromGrayVector(const std::uint8_t* gray, CBmpPixel* pixels, int count) noexcept;
