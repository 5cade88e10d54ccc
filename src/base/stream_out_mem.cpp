#include "base/stream_out_mem.h"

bool XStreamOutMem::write(const std::uint8_t* bytes, std::size_t count) {
  block_.insert(block_.end(), bytes, bytes + count);
  return true;
}
