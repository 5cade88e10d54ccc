#include "base/integer.h"

namespace {

// Hexadecimal digits up to the end, wrapping at 32 bits; no digits give 0.
std::optional<std::int32_t> parseHexadecimal(std::wstring_view digits) {
  std::uint32_t value = 0;
  for (wchar_t ch : digits) {
    const int digit = hexDigitValue(ch);
    if (digit < 0) {
      return std::nullopt;
    }
    value = value * 16u + static_cast<std::uint32_t>(digit);
  }
  return static_cast<std::int32_t>(value);
}

// An optional '-' and decimal digits up to the end.  Like the hexadecimal
// form the value wraps at 32 bits, so the unsigned version parts above
// 0x7FFFFFFF written by formatVersion as negative numbers and those written
// as large positive ones both come back as the same 32 bits.
std::optional<std::int32_t> parseDecimal(std::wstring_view text) {
  if (text.empty()) {
    return std::nullopt;
  }
  const bool negative = text.front() == L'-';
  if (negative) {
    text.remove_prefix(1);
  }
  std::uint32_t value = 0;
  for (wchar_t ch : text) {
    if (ch < L'0' || ch > L'9') {
      return std::nullopt;
    }
    value = value * 10u + static_cast<std::uint32_t>(ch - L'0');
  }
  if (negative) {
    value = 0u - value;
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::optional<std::int32_t> parseInteger(std::wstring_view text) {
  if (text.size() >= 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
    return parseHexadecimal(text.substr(2));
  }
  return parseDecimal(text);
}
