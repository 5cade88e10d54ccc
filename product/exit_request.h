// The exit request that the setup writes into the product block: two 64-bit
// values at kBlockExitRequestOffset, little-endian.
#pragma once

#include <cstdint>

namespace product {

inline constexpr std::uint64_t kExitRequestFirst = 0x4732118858C99985ull;   // bytes 60-67
inline constexpr std::uint64_t kExitRequestSecond = 0xA6E9321846FEE498ull;  // bytes 68-75

}  // namespace product
