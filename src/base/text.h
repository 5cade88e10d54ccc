// Blank sets, trimming and ASCII letter case, for every layer.
//
// Only the ASCII letters change case, so a folded name or a comparison comes
// out the same in both trees and under every system locale.  Comparisons of
// file paths, which the system folds by its own table, are not made here.
#pragma once

#include <string>
#include <string_view>

// White space as XML has it: markup, the string table, the manifest.
inline constexpr std::wstring_view kXmlBlanks = L" \t\r\n";
// Blanks within one line: markup value lists, the publisher line.
inline constexpr std::wstring_view kLineBlanks = L" \t";
// White space as the C library has it: numbers, versions and GUIDs.
inline constexpr std::wstring_view kCBlanks = L" \t\r\n\v\f";

constexpr bool isBlankIn(wchar_t c, std::wstring_view blanks) noexcept {
  return blanks.find(c) != std::wstring_view::npos;
}

// The text without the leading and trailing characters of the set.
constexpr std::wstring_view trimmed(std::wstring_view text, std::wstring_view blanks = kXmlBlanks) noexcept {
  while (!text.empty() && isBlankIn(text.front(), blanks)) {
    text.remove_prefix(1);
  }
  while (!text.empty() && isBlankIn(text.back(), blanks)) {
    text.remove_suffix(1);
  }
  return text;
}

// True when the text has nothing but characters of the set (or nothing).
constexpr bool isAllBlank(std::wstring_view text, std::wstring_view blanks = kXmlBlanks) noexcept {
  return trimmed(text, blanks).empty();
}

template <class Char>
constexpr Char asciiLower(Char c) noexcept {
  return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

template <class Char>
constexpr Char asciiUpper(Char c) noexcept {
  return c >= Char('a') && c <= Char('z') ? static_cast<Char>(c - Char('a') + Char('A')) : c;
}

template <class Char>
std::basic_string<Char> asciiLowerCase(std::basic_string_view<Char> text) {
  std::basic_string<Char> lower(text);
  for (Char& c : lower) {
    c = asciiLower(c);
  }
  return lower;
}

inline std::wstring asciiLowerCase(std::wstring_view text) { return asciiLowerCase<wchar_t>(text); }
inline std::string asciiLowerCase(std::string_view text) { return asciiLowerCase<char>(text); }

constexpr bool equalsIgnoringCase(std::wstring_view a, std::wstring_view b) noexcept {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (asciiLower(a[i]) != asciiLower(b[i])) {
      return false;
    }
  }
  return true;
}
