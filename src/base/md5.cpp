#include "base/md5.h"

#include <algorithm>
#include <cstring>

namespace {

// Per-round shift amounts and the sine-derived constants of RFC 1321.
constexpr std::uint32_t kShift[64] = {
    7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
    5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
    4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
    6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21,
};

constexpr std::uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

std::uint32_t rotateLeft(std::uint32_t value, std::uint32_t count) {
  return (value << count) | (value >> (32 - count));
}

std::uint32_t readLittleEndian32(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

}  // namespace

void CMd5::reset() {
  state_ = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
  pendingSize_ = 0;
  totalSize_ = 0;
}

void CMd5::transform(const std::uint8_t* block) {
  std::uint32_t words[16];
  for (int i = 0; i < 16; ++i) {
    words[i] = readLittleEndian32(block + 4 * i);
  }
  std::uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
  for (std::uint32_t i = 0; i < 64; ++i) {
    std::uint32_t f;
    std::uint32_t g;
    if (i < 16) {
      f = (b & c) | (~b & d);
      g = i;
    } else if (i < 32) {
      f = (d & b) | (~d & c);
      g = (5 * i + 1) % 16;
    } else if (i < 48) {
      f = b ^ c ^ d;
      g = (3 * i + 5) % 16;
    } else {
      f = c ^ (b | ~d);
      g = (7 * i) % 16;
    }
    const std::uint32_t rotated = rotateLeft(a + f + kSine[i] + words[g], kShift[i]);
    a = d;
    d = c;
    c = b;
    b = b + rotated;
  }
  state_[0] += a;
  state_[1] += b;
  state_[2] += c;
  state_[3] += d;
}

void CMd5::update(const void* data, std::size_t size) {
  if (size == 0) {
    return;
  }
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  totalSize_ += size;
  if (pendingSize_ > 0) {
    const std::size_t taken = std::min(size, pending_.size() - pendingSize_);
    std::memcpy(pending_.data() + pendingSize_, bytes, taken);
    pendingSize_ += taken;
    bytes += taken;
    size -= taken;
    if (pendingSize_ < pending_.size()) {
      return;
    }
    transform(pending_.data());
    pendingSize_ = 0;
  }
  for (; size >= pending_.size(); bytes += pending_.size(), size -= pending_.size()) {
    transform(bytes);
  }
  if (size > 0) {
    std::memcpy(pending_.data(), bytes, size);
    pendingSize_ = size;
  }
}

CMd5Digest CMd5::finish() {
  // Padding: one 0x80 byte, zeros up to 56 bytes modulo 64, then the message
  // length in bits as a little-endian 64-bit number.
  const std::uint64_t bitCount = totalSize_ * 8;
  const std::uint8_t marker = 0x80;
  update(&marker, 1);
  const std::uint8_t zeros[64] = {};
  const std::size_t padding = (pendingSize_ <= 56 ? 56 : 120) - pendingSize_;
  update(zeros, padding);
  std::uint8_t length[8];
  for (int i = 0; i < 8; ++i) {
    length[i] = static_cast<std::uint8_t>(bitCount >> (8 * i));
  }
  update(length, sizeof length);

  CMd5Digest digest;
  for (int i = 0; i < 16; ++i) {
    digest[i] = static_cast<std::uint8_t>(state_[i / 4] >> (8 * (i % 4)));
  }
  reset();
  return digest;
}

CMd5Digest md5Digest(const void* data, std::size_t size) {
  CMd5 md5;
  md5.update(data, size);
  return md5.finish();
}
