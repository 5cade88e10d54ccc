// Byte buffers written as hexadecimal text, for comparing digests and
// keystreams with published values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

inline std::string toHex(const std::uint8_t* bytes, std::size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (std::size_t i = 0; i < size; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 0xF];
  }
  return text;
}

template <class Bytes>
std::string toHex(const Bytes& bytes) {
  return toHex(bytes.data(), bytes.size());
}
