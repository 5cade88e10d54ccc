// Integers written as text, as markup values and version parts have them.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The value of one hexadecimal digit of either case, or -1.
template <class Char>
constexpr int hexDigitValue(Char ch) {
  if (ch >= Char('0') && ch <= Char('9')) {
    return static_cast<int>(ch - Char('0'));
  }
  if (ch >= Char('a') && ch <= Char('f')) {
    return static_cast<int>(ch - Char('a')) + 10;
  }
  if (ch >= Char('A') && ch <= Char('F')) {
    return static_cast<int>(ch - Char('A')) + 10;
  }
  return -1;
}

// A signed 32-bit integer: "0x" followed by hexadecimal digits (wrapping at
// 32 bits, "0x" alone is 0), or an optional '-' and decimal digits ("-" alone
// is 0).  No blanks, no '+'.
std::optional<std::int32_t> parseInteger(std::wstring_view text);

