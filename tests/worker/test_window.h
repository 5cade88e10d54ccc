// The payload counters that show what the envelope channel freed, and the
// window that receives the envelopes in these tests.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <utility>

#include "base/ref_ptr.h"
#include "worker/envelope_window.h"
#include "worker/ref_message.h"

// Counts the payloads made and destroyed through it.
struct CPayloadCount {
  static inline std::atomic<int> madeCount{0};
  static inline std::atomic<int> destroyedCount{0};
  static void reset() {
    madeCount = 0;
    destroyedCount = 0;
  }
  static int made() { return madeCount.load(); }
  static int destroyed() { return destroyedCount.load(); }
  static int alive() { return made() - destroyed(); }
};

template <class Payload>
class TCounted : public Payload {
public:
  template <class... Args>
  explicit TCounted(Args&&... args) : Payload(std::forward<Args>(args)...) {
    ++CPayloadCount::madeCount;
  }
  ~TCounted() override { ++CPayloadCount::destroyedCount; }
};

template <class Payload, class... Args>
TRefPtr<TCounted<Payload>> makeCounted(Args&&... args) {
  return makeRef<TCounted<Payload>>(std::forward<Args>(args)...);
}

// The envelope tests wait at most this long for the reports they expect.
inline constexpr std::chrono::seconds kReportLimit{10};
