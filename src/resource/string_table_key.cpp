#include "resource/string_table_key.h"

#include <array>

#include "base/guid.h"

namespace {

constexpr std::array<std::uint32_t, 256> makeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int bit = 0; bit < 8; ++bit) {
      c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    table[n] = c;
  }
  return table;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = makeCrcTable();

// Fed after the name's bytes; the length modulo 256 follows as an eighth byte.
constexpr std::uint8_t kNameTail[7] = {0xBB, 0x00, 0x40, 0x91, 0x05, 0xD9, 0x01};

class CKeyFold {
public:
  void feed(std::uint8_t byte) noexcept {
    h_ = (h_ >> 8) ^ kCrcTable[(h_ ^ byte) & 0xFF];
    key_.words[count_++ % 4] ^= h_;
  }
  CStringKey key() const noexcept { return key_; }

private:
  CStringKey key_;
  std::uint32_t h_ = 0xBD045D73u;
  std::size_t count_ = 0;
};

bool isHexDigit(wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F'); }

unsigned hexValue(wchar_t c) {
  if (c <= L'9') {
    return static_cast<unsigned>(c - L'0');
  }
  return static_cast<unsigned>((c | 0x20) - L'a' + 10);
}

// Decimal digits only, or "0x"/"0X" and hexadecimal digits only; the value
// wraps at 32 bits.  "0x" alone is no number: it has no digit.
std::optional<std::uint32_t> parseIdNumber(std::wstring_view id) {
  if (id.size() > 2 && id[0] == L'0' && (id[1] == L'x' || id[1] == L'X')) {
    std::uint32_t value = 0;
    for (const wchar_t c : id.substr(2)) {
      if (!isHexDigit(c)) {
        return std::nullopt;
      }
      value = value * 16 + hexValue(c);
    }
    return value;
  }
  if (id.empty()) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  for (const wchar_t c : id) {
    if (c < L'0' || c > L'9') {
      return std::nullopt;
    }
    value = value * 10 + static_cast<std::uint32_t>(c - L'0');
  }
  return value;
}

CStringKey guidKey(const CGuid& guid) {
  CStringKey key;
  key.words[0] = guid.data1;
  key.words[1] = guid.data2 | (static_cast<std::uint32_t>(guid.data3) << 16);
  for (int n = 0; n < 4; ++n) {
    key.words[2] |= static_cast<std::uint32_t>(guid.data4[n]) << (8 * n);
    key.words[3] |= static_cast<std::uint32_t>(guid.data4[4 + n]) << (8 * n);
  }
  return key;
}

}  // namespace

CStringKey stringNameKey(std::string_view name) noexcept {
  CKeyFold fold;
  for (const char c : name) {
    fold.feed(static_cast<std::uint8_t>(c));
  }
  for (const std::uint8_t b : kNameTail) {
    fold.feed(b);
  }
  fold.feed(static_cast<std::uint8_t>(name.size()));
  return fold.key();
}

std::optional<CStringKey> stringIdKey(std::wstring_view id) {
  if (const std::optional<CGuid> guid = parseGuid(id)) {
    return guidKey(*guid);
  }
  if (const std::optional<std::uint32_t> number = parseIdNumber(id)) {
    CStringKey key;
    key.words[0] = *number;
    return key;
  }
  std::string name;
  for (const wchar_t c : id) {
    if (c < 32 || c > 127) {
      return std::nullopt;
    }
    name.push_back(static_cast<char>(c));
  }
  return stringNameKey(name);
}
