// An output stream that collects everything in memory; the owner takes the
// bytes after the last flush (the installer writes them to a file in one
// piece).
#pragma once

#include <cstdint>
#include <vector>

#include "base/stream_out.h"

class XStreamOutMem : public XStreamOut {
public:
  bool write(const std::uint8_t* bytes, std::size_t count) override;

  const std::vector<std::uint8_t>& bytes() const noexcept { return block_; }
  std::uint64_t total() const noexcept { return block_.size(); }
  std::vector<std::uint8_t> takeBytes() noexcept { return std::move(block_); }

private:
  std::vector<std::uint8_t> block_;
};
