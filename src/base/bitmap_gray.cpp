#include "base/bitmap_gray.h"

#if defined(__x86_64__) || defined(_M_X64)
#include <emmintrin.h>
#define BRANTEL_GRAY_SSE2 1
#endif

namespace {

constexpr float kBlue = 0.114f;
constexpr float kGreen = 0.587f;
constexpr float kRed = 0.299f;

std::uint8_t grayOf(CBmpPixel pixel) noexcept {
  const float blue = static_cast<float>(pixel & 0xFF);
  const float green = static_cast<float>((pixel >> 8) & 0xFF);
  const float red = static_cast<float>((pixel >> 16) & 0xFF);
  // Each product rounded on its own, then summed left to right: the vector
  // path does the same steps, so both truncate the same value.
  const float blueShare = kBlue * blue;
  const float greenShare = kGreen * green;
  const float redShare = kRed * red;
  const float gray = (blueShare + greenShare) + redShare;
  const int truncated = static_cast<int>(gray);
  return static_cast<std::uint8_t>(truncated < 0 ? 0 : truncated > 255 ? 255 : truncated);
}

#ifdef BRANTEL_GRAY_SSE2
// Every x86-64 processor has SSE2, so the choice is made by the build; the
// feature flags still say so, for the record and for other builds.
bool hasVectorPath() noexcept {
  static const bool has = __builtin_cpu_supports("sse2");
  return has;
}

__m128i load4(const CBmpPixel* pixels) noexcept {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels));
}
#else
bool hasVectorPath() noexcept { return false; }
#endif

using CGrayRead = void (*)(const CBmpPixel*, std::uint8_t*, int) noexcept;
using CGrayWrite = void (*)(const std::uint8_t*, CBmpPixel*, int) noexcept;

void grayReadVector(const CBmpPixel* pixels, std::uint8_t* gray, int count) noexcept {
  grayFromPixelsVector(pixels, gray, count);
}
void grayWriteVector(const std::uint8_t* gray, CBmpPixel* pixels, int count) noexcept {
  pixelsFromGrayVector(gray, pixels, count);
}

struct CGrayPaths {
  CGrayRead read;
  CGrayWrite write;
};

const CGrayPaths& grayPaths() noexcept {
  static const CGrayPaths paths = hasVectorPath() ? CGrayPaths{grayReadVector, grayWriteVector}
                                                  : CGrayPaths{grayFromPixelsScalar, pixelsFromGrayScalar};
  return paths;
}

}  // namespace

void grayFromPixelsScalar(const CBmpPixel* pixels, std::uint8_t* gray, int count) noexcept {
  for (int n = 0; n < count; ++n) {
    gray[n] = grayOf(pixels[n]);
  }
}

void pixelsFromGrayScalar(const std::uint8_t* gray, CBmpPixel* pixels, int count) noexcept {
  for (int n = 0; n < count; ++n) {
    pixels[n] = static_cast<CBmpPixel>(gray[n]) * 0x010101u;
  }
}

#ifdef BRANTEL_GRAY_SSE2

bool grayFromPixelsVector(const CBmpPixel* pixels, std::uint8_t* gray, int count) noexcept {
  if (!hasVectorPath()) {
    return false;
  }
  const __m128i byteMask = _mm_set1_epi32(0xFF);
  const __m128 blueWeight = _mm_set1_ps(kBlue);
  const __m128 greenWeight = _mm_set1_ps(kGreen);
  const __m128 redWeight = _mm_set1_ps(kRed);
  int n = 0;
  for (; n + 4 <= count; n += 4) {
    const __m128i four = load4(pixels + n);
    const __m128 blue = _mm_cvtepi32_ps(_mm_and_si128(four, byteMask));
    const __m128 green = _mm_cvtepi32_ps(_mm_and_si128(_mm_srli_epi32(four, 8), byteMask));
    const __m128 red = _mm_cvtepi32_ps(_mm_and_si128(_mm_srli_epi32(four, 16), byteMask));
    const __m128 sum = _mm_add_ps(_mm_add_ps(_mm_mul_ps(blueWeight, blue), _mm_mul_ps(greenWeight, green)),
                                  _mm_mul_ps(redWeight, red));
    // Truncation, then saturation to 0..255 on the way down to bytes.
    const __m128i words = _mm_packs_epi32(_mm_cvttps_epi32(sum), _mm_setzero_si128());
    const __m128i bytes = _mm_packus_epi16(words, _mm_setzero_si128());
    const std::uint32_t packed = static_cast<std::uint32_t>(_mm_cvtsi128_si32(bytes));
    for (int k = 0; k < 4; ++k) {
      gray[n + k] = static_cast<std::uint8_t>(packed >> (8 * k));
    }
  }
  grayFromPixelsScalar(pixels + n, gray + n, count - n);
  return true;
}

bool pixelsFromGrayVector(const std::uint8_t* gray, CBmpPixel* pixels, int count) noexcept {
  if (!hasVectorPath()) {
    return false;
  }
  const __m128i zero = _mm_setzero_si128();
  int n = 0;
  for (; n + 4 <= count; n += 4) {
    std::uint32_t packed = 0;
    for (int k = 0; k < 4; ++k) {
      packed |= static_cast<std::uint32_t>(gray[n + k]) << (8 * k);
    }
    // g0 g1 g2 g3 -> one 32-bit word per value -> g in blue, green and red.
    const __m128i words = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(packed)), zero), zero);
    const __m128i spread = _mm_or_si128(_mm_or_si128(words, _mm_slli_epi32(words, 8)), _mm_slli_epi32(words, 16));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + n), spread);
  }
  pixelsFromGrayScalar(gray + n, pixels + n, count - n);
  return true;
}

#else

bool grayFromPixelsVector(const CBmpPixel*, std::uint8_t*, int) noexcept { return false; }
bool pixelsFromGrayVector(const std::uint8_t*, CBmpPixel*, int) noexcept { return false; }

#endif

void grayFromPixels(const CBmpPixel* pixels, std::uint8_t* gray, int count) noexcept {
  grayPaths().read(pixels, gray, count);
}

void pixelsFromGray(const std::uint8_t* gray, CBmpPixel* pixels, int count) noexcept {
  grayPaths().write(gray, pixels, count);
}
