// Where the installer extracts an entry: an open file, written in large
// blocks rather than in the reader's small pieces.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "base/zip_archive.h"

namespace setup {

class CFileSink final : public zip::XExtractSink {
public:
  // The file stays owned by the caller and must outlive the sink.
  explicit CFileSink(HANDLE file);

  bool rewind() override;
  bool write(const std::uint8_t* piece, std::size_t size) override;
  // Writes what is still held; false when the file refused it.
  bool flush();
  // Whether the file refused anything: an extraction that failed without
  // this failed on the package's side.
  bool failed() const noexcept { return failed_; }

private:
  bool written(bool success) noexcept;

  HANDLE file_;
  std::vector<std::uint8_t> buffer_;
  std::size_t held_ = 0;
  bool failed_ = false;
};

// Writes all the bytes to the file; false when it refused some.
bool writeWhole(HANDLE file, const std::uint8_t* bytes, std::size_t size);

}  // namespace setup
