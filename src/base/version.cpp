#include "base/version.h"

#include "base/integer.h"
#include "base/text.h"

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
    const auto value = parseInteger(trimmed(text.substr(0, dot), kCBlanks));
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
