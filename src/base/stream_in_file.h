// An input stream over a file, read in 512-byte pieces (the installation
// manifest).  Windows only.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

#include "base/scoped_handle.h"
#include "base/stream_in.h"

class XStreamInFile : public XStreamIn {
public:
  // Opens an existing file for reading, sharing read and write; throws
  // XExceptionFile when it cannot.
  explicit XStreamInFile(const std::wstring& path);
  // Reads from a handle the stream owns and closes.
  explicit XStreamInFile(CScopedFile ownedHandle) noexcept;
  // Reads from a handle that somebody else owns and closes.
  static XStreamInFile borrowing(HANDLE handle) noexcept { return XStreamInFile(handle); }

  // Throws XExceptionFile when the system refuses the read.
  std::uint8_t readByte() override;
  // Steps back within the piece last read only.
  void unreadByte() override;

private:
  explicit XStreamInFile(HANDLE borrowed) noexcept;
  void readPiece();

  static constexpr std::uint32_t kPieceSize = 512;

  CScopedFile owned_;
  HANDLE handle_;
  std::wstring path_;
  // The piece last read; the window runs over the part not yet consumed.
  std::array<std::uint8_t, kPieceSize> buffer_{};
};
