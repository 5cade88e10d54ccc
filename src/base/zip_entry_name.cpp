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

// The digits the system takes after COM and LPT: 0-9, and the superscripts
// one, two and three (the same values in code page 1252 and in UTF-16).
template <class Char>
bool isDeviceDigit(Char c) {
  const std::uint32_t u = unit(c);
  return (u >= '0' && u <= '9') || u == 0xB9 || u == 0xB2 || u == 0xB3;
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
  if (stem.size() != 4 || !isDeviceDigit(stem[3])) {
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

bool fitsPathLimit(std::wstring_view directory, std::wstring_view name) {
  while (!directory.empty() && isSeparator(directory.back())) {
    directory.remove_suffix(1);
  }
  // The directory, one "\", then the name.
  const std::size_t base = directory.size() + 1;
  if (base + name.size() > kMaxFilePathChars) {
    return false;
  }
  for (std::size_t at = 0; at < name.size(); ++at) {
    if (isSeparator(name[at]) && base + at > kMaxFolderPathChars) {
      return false;
    }
  }
  return true;
}

}  // namespace zip
