#include "base/random.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

namespace {

TEST(EntropyChain, BlockLayout) {
  // Every field filled with the numbers of its own byte offsets (plus one),
  // so a field at the wrong place or in the wrong byte order shows at once.
  CEntropyReadings readings;
  readings.performanceCounter = 0x0807060504030201ull;
  readings.fileTime = 0x100F0E0D0C0B0A09ull;
  readings.tickCount = 0x14131211u;
  readings.pseudoRandom = 0x18171615u;
  CRandomValue previous;
  for (std::size_t i = 0; i < previous.size(); ++i) {
    previous[i] = static_cast<std::uint8_t>(0x1D + i);
  }

  const CEntropyChain::CBlock block = CEntropyChain::composeBlock(readings, 0x1C1B1A19u, previous);
  for (std::size_t i = 0; i < block.size(); ++i) {
    SCOPED_TRACE("offset " + std::to_string(i));
    EXPECT_EQ(block[i], i < 44 ? i + 1 : 0);
  }
}

TEST(EntropyChain, DigestsCountAndPreviousResult) {
  // With the clocks standing still, the call counter and the previous result
  // still change the block from call to call.
  CEntropyReadings still;
  still.performanceCounter = 42;
  still.fileTime = 133000000000000000ull;
  still.tickCount = 1000;
  still.pseudoRandom = 7;

  CEntropyChain chain;
  const CRandomValue first = chain.next(still);
  const CRandomValue second = chain.next(still);
  const CRandomValue third = chain.next(still);

  const auto firstBlock = CEntropyChain::composeBlock(still, 1, CRandomValue{});
  EXPECT_EQ(first, md5Digest(firstBlock.data(), firstBlock.size()));
  const auto secondBlock = CEntropyChain::composeBlock(still, 2, first);
  EXPECT_EQ(second, md5Digest(secondBlock.data(), secondBlock.size()));
  const auto thirdBlock = CEntropyChain::composeBlock(still, 3, second);
  EXPECT_EQ(third, md5Digest(thirdBlock.data(), thirdBlock.size()));
  EXPECT_NE(first, second);
  EXPECT_NE(second, third);
}

TEST(RandomValue, SuccessiveValuesDiffer) {
  std::set<CRandomValue> seen;
  for (int i = 0; i < 1000; ++i) {
    EXPECT_TRUE(seen.insert(randomValue()).second) << "repeated at call " << i;
  }
}

TEST(RandomValue, WorkersCallingAtOnceGetDistinctValues) {
  constexpr int kThreads = 4;
  constexpr int kCalls = 500;
  std::vector<std::vector<CRandomValue>> results(kThreads);
  std::vector<std::thread> workers;
  for (int t = 0; t < kThreads; ++t) {
    workers.emplace_back([&results, t] {
      for (int i = 0; i < kCalls; ++i) {
        results[t].push_back(randomValue());
      }
    });
  }
  for (std::thread& worker : workers) {
    worker.join();
  }
  std::set<CRandomValue> seen;
  for (const auto& values : results) {
    seen.insert(values.begin(), values.end());
  }
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(kThreads * kCalls));
}

}  // namespace
