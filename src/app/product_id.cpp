#include "app/product_id.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

constexpr std::size_t kGuidTextLength = 36;

constexpr std::uint8_t scrambleKey(std::size_t i) {
  return static_cast<std::uint8_t>(0xA7 + i * 0x3D);
}

consteval std::array<std::uint8_t, kGuidTextLength> scramble(const char (&text)[kGuidTextLength + 1]) {
  std::array<std::uint8_t, kGuidTextLength> out{};
  for (std::size_t i = 0; i < kGuidTextLength; ++i) {
    out[i] = static_cast<std::uint8_t>(static_cast<std::uint8_t>(text[i]) ^ scrambleKey(i));
  }
  return out;
}

// Only the scrambled bytes reach the program image.
constexpr std::array<std::uint8_t, kGuidTextLength> kScrambled =
    scramble("6E1B2C4D-93A7-4F58-B0C2-7D4E9A31F86B");

}  // namespace

CGuid productIdentifier() {
  // Read through a volatile pointer so that the optimiser cannot fold the
  // loop back into the plain text.
  const volatile std::uint8_t* scrambled = kScrambled.data();
  std::string text(kGuidTextLength, '\0');
  for (std::size_t i = 0; i < kGuidTextLength; ++i) {
    text[i] = static_cast<char>(scrambled[i] ^ scrambleKey(i));
  }
  return parseGuid(std::string_view(text)).value_or(CGuid{});
}
