#include "dialog/font_metrics.h"

#include <cstdlib>

std::int32_t mulDivRounded(std::int32_t number, std::int32_t numerator, std::int32_t denominator) {
  if (denominator == 0) {
    return 0;
  }
  const std::int64_t product = std::int64_t{number} * numerator;
  const std::int64_t half = std::llabs(denominator) / 2;
  const bool negative = (product < 0) != (denominator < 0);
  const std::int64_t magnitude = (std::llabs(product) + half) / std::llabs(denominator);
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

CControlUnits controlUnits(const CFontMetrics& metrics) {
  return {mulDivRounded(metrics.textHeight, 12, 8), mulDivRounded(metrics.textHeight, 14, 8),
          mulDivRounded(metrics.averageCharWidth, 50, 4)};
}
