#include "base/stream_in_memory.h"

std::uint8_t XStreamInMemory::readByte() {
  if (windowNext_ == windowEnd_) {
    throw EOS{this};
  }
  return *windowNext_++;
}

void XStreamInMemory::unreadByte() {
  if (windowNext_ == data_) {
    throw EOS{this};
  }
  --windowNext_;
}
