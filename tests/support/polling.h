// Waiting for something that another thread or process brings about.
#pragma once

#include <windows.h>

#include <chrono>
#include <thread>

namespace ui {

inline constexpr std::chrono::milliseconds kPollInterval{20};

// Calls `probe` until it yields a true value or the time is up, and returns
// its last result; probes at least once.
template <class Probe>
auto pollUntil(DWORD timeoutMs, Probe probe) -> decltype(probe()) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    auto result = probe();
    if (result || std::chrono::steady_clock::now() >= deadline) {
      return result;
    }
    std::this_thread::sleep_for(kPollInterval);
  }
}

}  // namespace ui
