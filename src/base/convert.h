// Small conversions with exact rules that the start-up, the installer, the
// network client and the wizard pages all rely on: integers, versions, GUIDs,
// paths and UTF-8.
//
// Texts are UTF-16 in memory.  In the host tree wchar_t is 32 bits wide, but it
// only ever holds UTF-16 code units here, so both trees compute the same.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A signed 32-bit integer: "0x" followed by hexadecimal digits (wrapping at
// 32 bits, "0x" alone is 0), or an optional '-' and decimal digits ("-" alone
// is 0).  No blanks, no '+'.
std::optional<std::int32_t> parseInteger(std::wstring_view text);

// Four unsigned 32-bit numbers, compared component by component as signed
// 32-bit numbers.
struct CVersion {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t third = 0;
  std::uint32_t fourth = 0;

  friend bool operator==(const CVersion&, const CVersion&) = default;
};
int compareVersions(const CVersion& a, const CVersion& b);  // <0, 0, >0

// Exactly four '.'-separated parts, each trimmed of white space and parsed
// with parseInteger.
std::optional<CVersion> parseVersion(std::wstring_view text);
// "%i.%i.%i.%i": signed decimals, no padding.
std::wstring formatVersion(const CVersion& version);

// A GUID with the platform's field layout, usable in both trees.
struct CGuid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::array<std::uint8_t, 8> data4{};

  friend bool operator==(const CGuid&, const CGuid&) = default;
};

// Optional '{', 8-4-4-4-12 hexadecimal digits of either case, '}' exactly when
// '{' was given, then the end of the text.
std::optional<CGuid> parseGuid(std::wstring_view text);
std::optional<CGuid> parseGuid(std::string_view text);

enum class GuidStyle { BracedUpper, Upper, BracedLower, Lower };
std::wstring formatGuid(const CGuid& guid, GuidStyle style);

// The folder without its trailing '\' and '/', one '\', then the name without
// its leading '/', '\' and ':'.
std::wstring joinPath(std::wstring_view folder, std::wstring_view name);

// UTF-16 to UTF-8, as the platform converts (an unpaired surrogate becomes
// U+FFFD).  Empty input gives an empty result.
std::string toUtf8(std::wstring_view text);
