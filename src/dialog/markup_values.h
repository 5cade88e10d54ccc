// The value forms of the markup: lengths, booleans and the margin and padding
// shorthands.  Malformed values never fail: a length that cannot be read is
// 100 pixels, a boolean that is not true is false.
#pragma once

#include <cstdint>
#include <string_view>

#include "dialog/dialog_node.h"

// What a length that cannot be read comes to.
inline constexpr std::int32_t kMalformedLength = 100;
// Lengths are held to this many pixels either way, so that layout can add
// the margins and paddings of the deepest markup without overflowing.
inline constexpr std::int32_t kLengthLimit = 1 << 20;

// "0" is 0; a decimal number (optional '-', digits with an optional
// fraction) followed by exactly "em" is that many em, followed by exactly
// "px" that many pixels, both rounded to the nearest pixel with halves away
// from zero.  Everything else, a bare number included, is 100.
std::int32_t parseLength(std::wstring_view text, std::int32_t em);

// "true" in any letter case, or an integer other than 0.
bool parseBoolean(std::wstring_view text);

// One to four lengths separated by blanks or tabs, as for margins: one sets
// every side; two set top and bottom, then left and right; three set top,
// then left and right, then bottom; four set top, right, bottom, left.  A
// text without any length leaves the box as it is; lengths after the fourth
// are not read.
void readBoxShorthand(std::wstring_view text, std::int32_t em, CBoxRect& box);

// The node's box property ("margin" or "padding"): the shorthand first, then
// the single sides property-left, -top, -right and -bottom.
void readBoxProperty(const CDialogNode& node, std::wstring_view property, std::int32_t em, CBoxRect& box);
