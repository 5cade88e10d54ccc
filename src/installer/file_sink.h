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

private:
  HANDLE file_;
  std::vector<std::uint8_t> buffer_;
  std::size_t held_ = 0;
};

}  // namespace setup
