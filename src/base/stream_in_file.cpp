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
    : owned_(std::move(ownedHandle)), handle_(owned_.get()) {
  windowNext_ = windowEnd_ = buffer_.data();
}

XStreamInFile::XStreamInFile(HANDLE borrowed) noexcept : handle_(borrowed) {
  windowNext_ = windowEnd_ = buffer_.data();
}

std::uint8_t XStreamInFile::readByte() {
  if (windowNext_ == windowEnd_) {
    readPiece();
  }
  return *windowNext_++;
}

void XStreamInFile::unreadByte() {
  if (windowNext_ == buffer_.data()) {
    throw EOS{this};
  }
  --windowNext_;
}

void XStreamInFile::readPiece() {
  DWORD got = 0;
  if (!::ReadFile(handle_, buffer_.data(), kPieceSize, &got, nullptr)) {
    throw XExceptionFile(path_);
  }
  windowNext_ = buffer_.data();
  windowEnd_ = buffer_.data() + got;
  if (got == 0) {
    throw EOS{this};
  }
}
