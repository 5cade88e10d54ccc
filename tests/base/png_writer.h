// Small PNG files for the picture tests, written here with zlib so that the
// decoder under test reads files it did not make itself.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

enum class EPngKind : std::uint8_t { Gray = 0, Rgba = 6 };

// samples: rows top to bottom, 1 byte a pixel (Gray) or R, G, B, A (Rgba).
inline std::string makePng(int width, int height, EPngKind kind, const std::vector<std::uint8_t>& samples) {
  auto put32 = [](std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
      out.push_back(static_cast<char>(v >> shift));
    }
  };
  auto chunk = [&put32](std::string& out, const char* type, const std::string& data) {
    put32(out, static_cast<std::uint32_t>(data.size()));
    const std::string body = std::string(type, 4) + data;
    out += body;
    put32(out, static_cast<std::uint32_t>(
                   crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
  };
  const int channels = kind == EPngKind::Gray ? 1 : 4;
  std::string raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // no filter
    raw.append(reinterpret_cast<const char*>(samples.data()) + static_cast<std::size_t>(y) * width * channels,
               static_cast<std::size_t>(width) * channels);
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::string packed(packedSize, '\0');
  compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
           static_cast<uLong>(raw.size()));
  packed.resize(packedSize);

  std::string header;
  put32(header, static_cast<std::uint32_t>(width));
  put32(header, static_cast<std::uint32_t>(height));
  header += std::string{8, static_cast<char>(kind), 0, 0, 0};
  std::string png("\x89PNG\r\n\x1a\n", 8);
  chunk(png, "IHDR", header);
  chunk(png, "IDAT", packed);
  chunk(png, "IEND", "");
  return png;
}
