// Fresh 16-byte values for nonces and temporary names: the MD5 digest of a
// process-wide entropy block that is refreshed on every call and carries the
// previous result, so successive values differ even when the clocks stand
// still.
#pragma once

#include "base/md5.h"

#include <array>
#include <cstdint>

using CRandomValue = CMd5Digest;

// Safe to call from any thread.
CRandomValue randomValue();

// The readings of one call: the high-resolution performance counter, the
// system time as a file time (100 ns since 1601), the tick count in
// milliseconds and a number from the C library's generator.
struct CEntropyReadings {
  std::uint64_t performanceCounter = 0;
  std::uint64_t fileTime = 0;
  std::uint32_t tickCount = 0;
  std::uint32_t pseudoRandom = 0;
};

// The digest chain behind randomValue, without the clocks.
class CEntropyChain {
public:
  static constexpr std::size_t kBlockSize = 80;
  using CBlock = std::array<std::uint8_t, kBlockSize>;

  // Counter 8 bytes, time 8, ticks 4, pseudo-random 4, call counter 4,
  // previous result 16, all little-endian; the rest of the block is zero.
  static CBlock composeBlock(const CEntropyReadings& readings, std::uint32_t callCounter,
                             const CRandomValue& previous);

  // Counts the call, digests the block and keeps the digest for the next one.
  CRandomValue next(const CEntropyReadings& readings);

private:
  std::uint32_t callCounter_ = 0;
  CRandomValue previous_{};
};
