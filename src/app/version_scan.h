// The setup's own version, read from the bytes of its version resource.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/version.h"

// Scans the resource byte by byte for the fixed-file-info signature 0xFEEF04BD
// at every position p with p + 52 below the size, and takes the file version
// that follows it.  0.0.0.0 when there is none.
CVersion versionFromResource(const std::uint8_t* data, std::size_t size);
