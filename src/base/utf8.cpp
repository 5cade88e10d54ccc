#include "base/utf8.h"

#ifdef _WIN32
#include "base/ansi.h"

#include <windows.h>
#else
#include <cstdint>

namespace {

void appendUtf8(std::string& out, std::uint32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (codePoint >> 18));
    out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

bool isHighSurrogate(std::uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(std::uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The same conversion as the platform's: pairs of surrogates make one code
// point, a surrogate without its partner becomes U+FFFD.
std::string utf16ToUtf8(std::wstring_view text) {
  constexpr std::uint32_t kReplacement = 0xFFFD;
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto unit = static_cast<std::uint32_t>(text[i]);
    if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(static_cast<std::uint32_t>(text[i + 1]))) {
      const auto low = static_cast<std::uint32_t>(text[i + 1]);
      appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
      ++i;
    } else if (isHighSurrogate(unit) || isLowSurrogate(unit) || unit > 0x10FFFF) {
      appendUtf8(out, kReplacement);
    } else {
      // Wide texts of the host tree hold UTF-16 units; a whole code point
      // above U+FFFF (as a wide literal makes one) is written as it stands.
      appendUtf8(out, unit);
    }
  }
  return out;
}

}  // namespace
#endif

std::string toUtf8(std::wstring_view text) {
#ifdef _WIN32
  return toCodePage(CP_UTF8, text);
#else
  return utf16ToUtf8(text);
#endif
}
