// The MD5 message digest (RFC 1321): an incremental form for data that comes
// in pieces, and a one-shot form.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

using CMd5Digest = std::array<std::uint8_t, 16>;

class CMd5 {
public:
  CMd5() { reset(); }

  void update(const void* data, std::size_t size);
  // The digest of everything fed since the start; the object then starts over.
  CMd5Digest finish();

private:
  void reset();
  void transform(const std::uint8_t* block);

  std::array<std::uint32_t, 4> state_{};
  std::array<std::uint8_t, 64> pending_{};
  std::size_t pendingSize_ = 0;
  std::uint64_t totalSize_ = 0;
};

CMd5Digest md5Digest(const void* data, std::size_t size);
