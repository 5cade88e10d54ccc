#include "app/version_scan.h"

#include <cstring>

namespace {

constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
// The fixed file information is 52 bytes: the signature, the structure
// version, then the file version's most and least significant words.
constexpr std::size_t kFixedFileInfoSize = 52;

std::uint32_t readLittleEndian32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

CVersion versionFromResource(const std::uint8_t* data, std::size_t size) {
  CVersion version;
  if (!data) {
    return version;
  }
  for (std::size_t p = 0; p + kFixedFileInfoSize < size; ++p) {
    if (readLittleEndian32(data + p) != kFixedFileInfoSignature) {
      continue;
    }
    std::uint32_t mostSignificant = readLittleEndian32(data + p + 8);
    std::uint32_t leastSignificant = readLittleEndian32(data + p + 12);
    version.major = mostSignificant >> 16;
    version.minor = mostSignificant & 0xFFFF;
    version.third = leastSignificant >> 16;
    version.fourth = leastSignificant & 0xFFFF;
    break;
  }
  return version;
}
