#include "installer/file_sink.h"

#include <cstring>

namespace setup {

namespace {

// Large enough that a file is written in few calls, small enough to be
// nothing beside the package held in memory.
constexpr std::size_t kBlockSize = 256 * 1024;

bool writeAll(HANDLE file, const std::uint8_t* bytes, std::size_t size) {
  while (size > 0) {
    DWORD written = 0;
    if (!::WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) || written == 0) {
      return false;
    }
    bytes += written;
    size -= written;
  }
  return true;
}

}  // namespace

CFileSink::CFileSink(HANDLE file) : file_(file), buffer_(kBlockSize) {}

bool CFileSink::rewind() {
  held_ = 0;
  return ::SetFilePointer(file_, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER && ::SetEndOfFile(file_);
}

bool CFileSink::write(const std::uint8_t* piece, std::size_t size) {
  if (held_ + size > buffer_.size() && !flush()) {
    return false;
  }
  if (size > buffer_.size()) {
    return writeAll(file_, piece, size);
  }
  std::memcpy(buffer_.data() + held_, piece, size);
  held_ += size;
  return true;
}

bool CFileSink::flush() {
  const bool written = writeAll(file_, buffer_.data(), held_);
  held_ = 0;
  return written;
}

}  // namespace setup
