#include "base/stream_in_file.h"

#include <utility>

#include "app/exception.h"

namespace {

CScopedFile openExisting(const std::wstring& path) {
  CScopedFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    throw XExceptionFile(path);
  }
  return file;
}

}  // namespace

XStreamInFile::XStreamInFile(const std::wstring& path) : XStreamInFile(openExisting(path)) { path_ = path; }

XStreamInFile::XStreamInFile(CScopedFile ownedHandle) noexcept
    : owned_(std::move(ownedHandle)), handle_(owned_.get()) {}

XStreamInFile::XStreamInFile(HANDLE borrowed) noexcept : handle_(borrowed) {}

std::uint8_t XStreamInFile::readByte() {
  if (bufferPosition_ >= bufferCount_) {
    readPiece();
  }
  return buffer_[bufferPosition_++];
}

void XStreamInFile::unreadByte() {
  if (bufferPosition_ == 0) {
    throw EOS{this};
  }
  --bufferPosition_;
}

void XStreamInFile::readPiece() {
  DWORD got = 0;
  if (!::ReadFile(handle_, buffer_.data(), kPieceSize, &got, nullptr)) {
    throw XExceptionFile(path_);
  }
  bufferPosition_ = 0;
  bufferCount_ = got;
  if (got == 0) {
    throw EOS{this};
  }
}
