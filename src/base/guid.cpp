#include "base/guid.h"

#include "base/integer.h"

namespace {

// Reads GUID text from front to back; every step fails once anything is off.
template <class Char>
class CGuidReader {
public:
  explicit CGuidReader(std::basic_string_view<Char> text) : text_(text) {}

  bool skip(Char expected) {
    if (text_.empty() || text_.front() != expected) {
      return false;
    }
    text_.remove_prefix(1);
    return true;
  }

  // Exactly `count` hexadecimal digits (at most 8).
  std::optional<std::uint32_t> hex(std::size_t count) {
    if (text_.size() < count) {
      return std::nullopt;
    }
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i) {
      const int digit = hexDigitValue(text_[i]);
      if (digit < 0) {
        return std::nullopt;
      }
      value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    text_.remove_prefix(count);
    return value;
  }

  bool atEnd() const { return text_.empty(); }

private:
  std::basic_string_view<Char> text_;
};

template <class Char>
std::optional<CGuid> parseGuidText(std::basic_string_view<Char> text) {
  CGuidReader<Char> reader(text);
  const bool braced = reader.skip(Char('{'));
  CGuid guid;

  const auto data1 = reader.hex(8);
  if (!data1 || !reader.skip(Char('-'))) {
    return std::nullopt;
  }
  guid.data1 = *data1;

  const auto data2 = reader.hex(4);
  if (!data2 || !reader.skip(Char('-'))) {
    return std::nullopt;
  }
  guid.data2 = static_cast<std::uint16_t>(*data2);

  const auto data3 = reader.hex(4);
  if (!data3 || !reader.skip(Char('-'))) {
    return std::nullopt;
  }
  guid.data3 = static_cast<std::uint16_t>(*data3);

  // The fourth group holds the first two of the eight last bytes, the fifth
  // the other six.
  for (std::size_t i = 0; i < guid.data4.size(); ++i) {
    if (i == 2 && !reader.skip(Char('-'))) {
      return std::nullopt;
    }
    const auto byte = reader.hex(2);
    if (!byte) {
      return std::nullopt;
    }
    guid.data4[i] = static_cast<std::uint8_t>(*byte);
  }

  if (braced && !reader.skip(Char('}'))) {
    return std::nullopt;
  }
  if (!reader.atEnd()) {
    return std::nullopt;
  }
  return guid;
}

void appendHex(std::wstring& out, std::uint32_t value, int digits, bool upper) {
  const wchar_t* alphabet = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
    out += alphabet[(value >> shift) & 0xFu];
  }
}

}  // namespace

std::optional<CGuid> parseGuid(std::wstring_view text) { return parseGuidText(text); }

std::optional<CGuid> parseGuid(std::string_view text) { return parseGuidText(text); }

std::wstring formatGuid(const CGuid& guid, GuidStyle style) {
  const bool upper = style == GuidStyle::BracedUpper || style == GuidStyle::Upper;
  const bool braced = style == GuidStyle::BracedUpper || style == GuidStyle::BracedLower;
  std::wstring out;
  out.reserve(38);
  if (braced) {
    out += L'{';
  }
  appendHex(out, guid.data1, 8, upper);
  out += L'-';
  appendHex(out, guid.data2, 4, upper);
  out += L'-';
  appendHex(out, guid.data3, 4, upper);
  out += L'-';
  for (std::size_t i = 0; i < guid.data4.size(); ++i) {
    if (i == 2) {
      out += L'-';
    }
    appendHex(out, guid.data4[i], 2, upper);
  }
  if (braced) {
    out += L'}';
  }
  return out;
}
