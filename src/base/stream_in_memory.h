// An input stream over a memory block that outlives it (markup from the
// resource bundle, answers of the update server).
#pragma once

#include <cstdint>

#include "base/stream_in.h"

class XStreamInMemory : public XStreamIn {
public:
  XStreamInMemory(const void* data, std::uint64_t size) noexcept : data_(static_cast<const std::uint8_t*>(data)) {
    windowNext_ = data_;
    windowEnd_ = data_ + size;
  }

  std::uint8_t readByte() override;
  void unreadByte() override;

  std::uint64_t position() const noexcept { return windowNext_ - data_; }

private:
  // The whole block is the window: its next byte is the position.
  const std::uint8_t* data_;
};
