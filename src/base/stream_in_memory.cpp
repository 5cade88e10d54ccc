#include "base/stream_in_memory.h"

std::uint8_t XStreamInMemory::readByte() {
  if (position_ >= size_) {
    throw EOS{this};
  }
  return data_[position_++];
}

void XStreamInMemory::unreadByte() {
  if (position_ == 0) {
    throw EOS{this};
  }
  --position_;
}
