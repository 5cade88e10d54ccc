// Throws arbitrary text at the conversions' parsers and checks what must hold
// for every input: no crash, both GUID forms agree, whatever parses formats
// back to text that parses to the same value, and UTF-8 output is well formed.
#include "base/integer.h"
#include "base/version.h"
#include "base/guid.h"
#include "base/path_join.h"
#include "base/utf8.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

// Two input bytes make one UTF-16 code unit.
std::wstring unitsOf(const std::uint8_t* data, std::size_t size) {
  std::wstring text;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    text += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
  }
  return text;
}

// Strictly well-formed UTF-8: shortest forms, no surrogates, at most U+10FFFF.
bool isWellFormedUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<std::uint8_t>(text[i]);
    std::size_t length = 0;
    std::uint32_t codePoint = 0;
    if (lead < 0x80) {
      length = 1;
      codePoint = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2;
      codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3;
      codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4;
      codePoint = lead & 0x07;
    } else {
      return false;
    }
    if (i + length > text.size()) {
      return false;
    }
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<std::uint8_t>(text[i + k]);
      if ((next & 0xC0) != 0x80) {
        return false;
      }
      codePoint = codePoint << 6 | (next & 0x3F);
    }
    static const std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < kSmallest[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
      return false;
    }
    i += length;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string narrow(reinterpret_cast<const char*>(data), size);
  std::wstring fromBytes;
  for (unsigned char byte : narrow) {
    fromBytes += static_cast<wchar_t>(byte);
  }

  parseInteger(fromBytes);

  if (const auto version = parseVersion(fromBytes)) {
    check(parseVersion(formatVersion(*version)) == *version);
  }

  const auto wideGuid = parseGuid(std::wstring_view(fromBytes));
  const auto narrowGuid = parseGuid(std::string_view(narrow));
  check(wideGuid.has_value() == narrowGuid.has_value());
  if (wideGuid) {
    check(*wideGuid == *narrowGuid);
    for (GuidStyle style : {GuidStyle::BracedUpper, GuidStyle::Upper, GuidStyle::BracedLower, GuidStyle::Lower}) {
      check(parseGuid(formatGuid(*wideGuid, style)) == *wideGuid);
    }
  }

  const std::wstring units = unitsOf(data, size);
  const std::string utf8 = toUtf8(units);
  check(isWellFormedUtf8(utf8));
  check(utf8.size() >= units.size());

  // The join point: the folder's part ends in no separator, the name's part
  // starts with none, and both parts are found unchanged around it.
  const std::wstring_view folder = fromBytes;
  const std::wstring_view name = units;
  const std::wstring joined = joinPath(folder, name);
  const std::size_t folderKept = folder.find_last_not_of(L"\\/") + 1;  // npos + 1 == 0
  const std::size_t nameSkipped = std::min(name.find_first_not_of(L"/\\:"), name.size());
  check(joined == std::wstring(folder.substr(0, folderKept)) + L'\\' + std::wstring(name.substr(nameSkipped)));
  return 0;
}
