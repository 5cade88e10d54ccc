#include "base/zip_entry_name.h"

#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace zip {

namespace {

// Compares as unsigned code units so that 8-bit names with bytes above 0x7F
// and UTF-16 names follow the same rules.
template <class Char>
std::uint32_t unit(Char c) {
  return static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<Char>>(c));
}

template <class Char>
bool isSeparator(Char c) {
  return c == Char('/') || c == Char('\\');
}

template <class Char>
bool isRefusedCharacter(Char c) {
  const std::uint32_t u = unit(c);
  if (u < 0x20) {
    return true;
  }
  switch (u) {
    case ':': case '<': case '>': case '"': case '|': case '?': case '*':
      return true;
    default:
      return false;
  }
}

template <class Char>
bool isOnlyDotsAndBlanks(std::basic_string_view<Char> component) {
  for (Char c : component) {
    if (c != Char('.') && c != Char(' ')) {
      return false;
    }
  }
  return true;
}

template <class Char>
bool equalsIgnoringAsciiCase(std::basic_string_view<Char> text, std::string_view upperAscii) {
  if (text.size() != upperAscii.size()) {
    return false;
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t u = unit(text[i]);
    if (u >= 'a' && u <= 'z') {
      u -= 'a' - 'A';
    }
    if (u != static_cast<unsigned char>(upperAscii[i])) {
      return false;
    }
  }
  return true;
}

// The device names the system resolves in every folder, whatever extension
// follows them ("nul.txt" is the null device too).
template <class Char>
bool namesDevice(std::basic_string_view<Char> component) {
  std::basic_string_view<Char> stem = component.substr(0, component.find(Char('.')));
  while (!stem.empty() && stem.back() == Char(' ')) {
    stem.remove_suffix(1);
  }
  for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
    if (equalsIgnoringAsciiCase(stem, device)) {
      return true;
    }
  }
  if (stem.size() != 4 || stem[3] < Char('0') || stem[3] > Char('9')) {
    return false;
  }
  return equalsIgnoringAsciiCase(stem.substr(0, 3), "COM") || equalsIgnoringAsciiCase(stem.substr(0, 3), "LPT");
}

template <class Char>
bool isSafeComponent(std::basic_string_view<Char> component) {
  return !component.empty() && !isOnlyDotsAndBlanks(component) && !namesDevice(component);
}

template <class Char>
bool isSafe(std::basic_string_view<Char> name) {
  if (name.empty()) {
    return false;
  }
  for (Char c : name) {
    if (isRefusedCharacter(c)) {
      return false;
    }
  }
  std::size_t start = 0;
  for (;;) {
    std::size_t end = start;
    while (end < name.size() && !isSeparator(name[end])) {
      ++end;
    }
    if (!isSafeComponent(name.substr(start, end - start))) {
      return false;
    }
    if (end == name.size()) {
      return true;
    }
    start = end + 1;
  }
}

}  // namespace

bool isSafeEntryName(std::string_view name) { return isSafe(name); }
bool isSafeEntryName(std::wstring_view name) { return isSafe(name); }

}  // namespace zip
