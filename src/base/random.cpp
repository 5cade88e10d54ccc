#include "base/random.h"

#include <cstdlib>
#include <mutex>

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

namespace {

template <class Unsigned>
std::size_t putLittleEndian(CEntropyChain::CBlock& block, std::size_t offset, Unsigned value) {
  for (std::size_t i = 0; i < sizeof(Unsigned); ++i) {
    block[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
  return offset + sizeof(Unsigned);
}

CEntropyReadings readClocks() {
  CEntropyReadings readings;
#ifdef _WIN32
  LARGE_INTEGER counter;
  ::QueryPerformanceCounter(&counter);
  readings.performanceCounter = static_cast<std::uint64_t>(counter.QuadPart);
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  readings.fileTime = static_cast<std::uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
  readings.tickCount = ::GetTickCount();
#else
  // The same quantities from the host's clocks.
  constexpr std::uint64_t kSecondsFrom1601To1970 = 11644473600ull;
  timespec monotonic{};
  ::clock_gettime(CLOCK_MONOTONIC, &monotonic);
  readings.performanceCounter =
      static_cast<std::uint64_t>(monotonic.tv_sec) * 1000000000ull + static_cast<std::uint64_t>(monotonic.tv_nsec);
  readings.tickCount = static_cast<std::uint32_t>(static_cast<std::uint64_t>(monotonic.tv_sec) * 1000ull +
                                                  static_cast<std::uint64_t>(monotonic.tv_nsec) / 1000000ull);
  timespec wall{};
  ::clock_gettime(CLOCK_REALTIME, &wall);
  readings.fileTime = (static_cast<std::uint64_t>(wall.tv_sec) + kSecondsFrom1601To1970) * 10000000ull +
                      static_cast<std::uint64_t>(wall.tv_nsec) / 100ull;
#endif
  readings.pseudoRandom = static_cast<std::uint32_t>(std::rand());
  return readings;
}

}  // namespace

CEntropyChain::CBlock CEntropyChain::composeBlock(const CEntropyReadings& readings, std::uint32_t callCounter,
                                                  const CRandomValue& previous) {
  CBlock block{};
  std::size_t offset = 0;
  offset = putLittleEndian(block, offset, readings.performanceCounter);
  offset = putLittleEndian(block, offset, readings.fileTime);
  offset = putLittleEndian(block, offset, readings.tickCount);
  offset = putLittleEndian(block, offset, readings.pseudoRandom);
  offset = putLittleEndian(block, offset, callCounter);
  for (std::uint8_t byte : previous) {
    block[offset++] = byte;
  }
  return block;
}

CRandomValue CEntropyChain::next(const CEntropyReadings& readings) {
  ++callCounter_;
  const CBlock block = composeBlock(readings, callCounter_, previous_);
  previous_ = md5Digest(block.data(), block.size());
  return previous_;
}

CRandomValue randomValue() {
  static std::mutex guard;
  static CEntropyChain chain;
  const std::lock_guard<std::mutex> lock(guard);
  return chain.next(readClocks());
}
