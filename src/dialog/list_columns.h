// How a list's columns share its width.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Each column, in order, gets the width still left divided by the number of
// columns still left, so the last one takes what integer division leaves.
std::vector<std::int32_t> sharedColumnWidths(std::int32_t width, std::size_t columns);
