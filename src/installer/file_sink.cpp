#include "installer/file_sink.h"

#include <algorithm>
#include <cstring>

namespace setup {

namespace {

// Large enough that a file is written in few calls, small enough to be
// nothing beside the package held in memory.
constexpr std::size_t kBlockSize = 256 * 1024;

}  // namespace

bool writeWhole(HANDLE file, const std::uint8_t* bytes, std::size_t size) {
  while (size > 0) {
    const auto piece = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(file, bytes, piece, &written, nullptr) || written == 0) {
      return false;
    }
    bytes += written;
    size -= written;
  }
  return true;
}

CFileSink::CFileSink(HANDLE file) : file_(file), buffer_(kBlockSize) {}

bool CFileSink::written(bool success) noexcept {
  failed_ = failed_ || !success;
  return success;
}

bool CFileSink::rewind() {
  held_ = 0;
  return written(::SetFilePointer(file_, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER && ::SetEndOfFile(file_));
}

bool CFileSink::write(const std::uint8_t* piece, std::size_t size) {
  if (held_ + size > buffer_.size() && !flush()) {
    return false;
  }
  if (size > buffer_.size()) {
    return written(writeWhole(file_, piece, size));
  }
  std::memcpy(buffer_.data() + held_, piece, size);
  held_ += size;
  return true;
}

bool CFileSink::flush() {
  const bool success = writeWhole(file_, buffer_.data(), held_);
  held_ = 0;
  return written(success);
}

}  // namespace setup
