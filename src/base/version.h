// Versions: four unsigned 32-bit numbers, as the version resource, the
// installation record and the update server write them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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
