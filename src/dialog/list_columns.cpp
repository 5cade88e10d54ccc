#include "dialog/list_columns.h"

std::vector<std::int32_t> sharedColumnWidths(std::int32_t width, std::size_t columns) {
  std::vector<std::int32_t> widths;
  std::int32_t left = width;
  for (std::size_t remaining = columns; remaining > 0; --remaining) {
    const std::int32_t share = left / static_cast<std::int32_t>(remaining);
    widths.push_back(share);
    left -= share;
  }
  return widths;
}
