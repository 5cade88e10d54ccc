// GUIDs as text: registry key names, switches and the update server's fields.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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
