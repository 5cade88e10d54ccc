#include "net/version_answer.h"

#include <array>
#include <cstdint>
#include <optional>

namespace {

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f'; }

std::wstring_view trimmed(std::wstring_view piece) {
  while (!piece.empty() && isBlank(piece.front())) {
    piece.remove_prefix(1);
  }
  while (!piece.empty() && isBlank(piece.back())) {
    piece.remove_suffix(1);
  }
  return piece;
}

std::optional<unsigned> digitValue(wchar_t c, unsigned base) {
  unsigned value = 16;
  if (c >= L'0' && c <= L'9') {
    value = static_cast<unsigned>(c - L'0');
  } else if (c >= L'a' && c <= L'f') {
    value = static_cast<unsigned>(c - L'a' + 10);
  } else if (c >= L'A' && c <= L'F') {
    value = static_cast<unsigned>(c - L'A' + 10);
  }
  return value < base ? std::optional<unsigned>(value) : std::nullopt;
}

// All of `digits` in the base, at most 0xFFFFFFFF.
std::optional<std::uint64_t> digitsValue(std::wstring_view digits, unsigned base) {
  if (digits.empty()) {
    return std::nullopt;
  }
  std::uint64_t value = 0;
  for (const wchar_t c : digits) {
    const auto digit = digitValue(c, base);
    if (!digit) {
      return std::nullopt;
    }
    value = value * base + *digit;
    if (value > 0xFFFFFFFFu) {
      return std::nullopt;
    }
  }
  return value;
}

std::uint32_t pieceNumber(std::wstring_view piece) {
  if (piece.size() > 2 && piece[0] == L'0' && (piece[1] == L'x' || piece[1] == L'X')) {
    return static_cast<std::uint32_t>(digitsValue(piece.substr(2), 16).value_or(0));
  }
  if (!piece.empty() && piece[0] == L'-') {
    const auto magnitude = digitsValue(piece.substr(1), 10);
    if (!magnitude || *magnitude > 0x80000000u) {
      return 0;
    }
    return static_cast<std::uint32_t>(0x100000000u - *magnitude);
  }
  return static_cast<std::uint32_t>(digitsValue(piece, 10).value_or(0));
}

}  // namespace

CVersion parseVersionAnswer(std::wstring_view text) {
  std::array<std::uint32_t, 4> numbers{};
  std::size_t taken = 0;
  while (taken < numbers.size()) {
    const std::size_t dot = text.find(L'.');
    const std::wstring_view piece = trimmed(text.substr(0, dot));
    if (!piece.empty()) {
      numbers[taken++] = pieceNumber(piece);
    }
    if (dot == std::wstring_view::npos) {
      break;
    }
    text.remove_prefix(dot + 1);
  }
  return CVersion{numbers[0], numbers[1], numbers[2], numbers[3]};
}
