// The 128-bit keys of the string table.
//
// An entry's "id" is a GUID, a number or a name; every lookup is by name.  A
// name's key folds its bytes, a fixed seven-byte tail and its length through
// the CRC-32 table into four words, so that names and GUIDs share one key
// space without a second map.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

struct CStringKey {
  std::uint32_t words[4] = {0, 0, 0, 0};

  friend bool operator==(const CStringKey&, const CStringKey&) = default;
};

// The key of an 8-bit name.
CStringKey stringNameKey(std::string_view name) noexcept;

// The key of an entry's trimmed "id": a GUID (braces optional), a number
// (decimal digits only, or "0x"/"0X" and hexadecimal digits only; 32 bits,
// wrapping) in the first word, or else a name of characters 32 to 127.
// Nothing when the id is a name with a character outside that range.
std::optional<CStringKey> stringIdKey(std::wstring_view id);
