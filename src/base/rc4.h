// The RC4 stream cipher: one key schedule, then a keystream that continues
// across calls, so a buffer may be deciphered in one piece or in several.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

class CRc4 {
public:
  // The key is 1 to 256 bytes long; any other length throws XExceptionGeneral.
  CRc4(const void* key, std::size_t keySize);

  // Enciphers or deciphers (the same operation) the bytes in place.
  void process(void* data, std::size_t size);

private:
  std::array<std::uint8_t, 256> state_{};
  std::uint8_t i_ = 0;
  std::uint8_t j_ = 0;
};
