#include "base/convert.h"

#ifdef _WIN32
#include "base/ansi.h"

#include <windows.h>
#endif

namespace {

// The value of one hexadecimal digit of either case, or -1.
template <class Char>
int hexDigitValue(Char ch) {
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

bool isBlank(wchar_t ch) {
  return ch == L' ' || ch == L'\t' || ch == L'\n' || ch == L'\r' || ch == L'\v' || ch == L'\f';
}

std::wstring_view trimmed(std::wstring_view text) {
  while (!text.empty() && isBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && isBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

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

#ifndef _WIN32
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
#endif

}  // namespace

std::optional<std::int32_t> parseInteger(std::wstring_view text) {
  if (text.size() >= 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
    return parseHexadecimal(text.substr(2));
  }
  return parseDecimal(text);
}

int compareVersions(const CVersion& a, const CVersion& b) {
  const std::uint32_t left[] = {a.major, a.minor, a.third, a.fourth};
  const std::uint32_t right[] = {b.major, b.minor, b.third, b.fourth};
  for (int i = 0; i < 4; ++i) {
    const auto l = static_cast<std::int32_t>(left[i]);
    const auto r = static_cast<std::int32_t>(right[i]);
    if (l != r) {
      return l < r ? -1 : 1;
    }
  }
  return 0;
}

std::optional<CVersion> parseVersion(std::wstring_view text) {
  std::uint32_t parts[4] = {};
  std::size_t count = 0;
  while (true) {
    const std::size_t dot = text.find(L'.');
    if (count == 4) {
      return std::nullopt;  // a fifth part
    }
    const auto value = parseInteger(trimmed(text.substr(0, dot)));
    if (!value) {
      return std::nullopt;
    }
    parts[count++] = static_cast<std::uint32_t>(*value);
    if (dot == std::wstring_view::npos) {
      break;
    }
    text.remove_prefix(dot + 1);
  }
  if (count != 4) {
    return std::nullopt;
  }
  return CVersion{parts[0], parts[1], parts[2], parts[3]};
}

std::wstring formatVersion(const CVersion& version) {
  return std::to_wstring(static_cast<std::int32_t>(version.major)) + L'.' +
         std::to_wstring(static_cast<std::int32_t>(version.minor)) + L'.' +
         std::to_wstring(static_cast<std::int32_t>(version.third)) + L'.' +
         std::to_wstring(static_cast<std::int32_t>(version.fourth));
}

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

std::wstring joinPath(std::wstring_view folder, std::wstring_view name) {
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) {
    folder.remove_suffix(1);
  }
  while (!name.empty() && (name.front() == L'/' || name.front() == L'\\' || name.front() == L':')) {
    name.remove_prefix(1);
  }
  std::wstring path;
  path.reserve(folder.size() + 1 + name.size());
  path.append(folder);
  path += L'\\';
  path.append(name);
  return path;
}

std::string toUtf8(std::wstring_view text) {
#ifdef _WIN32
  return toCodePage(CP_UTF8, text);
#else
  return utf16ToUtf8(text);
#endif
}
