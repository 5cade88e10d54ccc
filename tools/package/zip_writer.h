// A ZIP archive written into memory: local headers, entry data, central
// directory and end record, with 32-bit sizes and offsets and no extra
// fields, as the setup's reader expects.
//
// The package builder adds files (deflated unless deflating does not make
// them smaller) and then records the archive's digest in its comment
// (base/zip_digest.h); tests also add entries in any stored form to make
// archives the builder never writes.  The finished archive has no comment.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace package {

enum class Method : std::uint16_t { Stored = 0, Deflated = 8 };

struct CAddedFile {
  Method method = Method::Stored;
  std::size_t storedSize = 0;
};

// Refused input: too many entries or bytes for an archive without the 64-bit
// extensions.
class CZipLimitError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

std::uint32_t crc32Of(const std::uint8_t* data, std::size_t size);
// The raw deflate stream (no zlib header) at the best compression.
std::vector<std::uint8_t> deflateRaw(const std::uint8_t* data, std::size_t size);

class CZipWriter {
public:
  // Adds a file and answers how it was stored.  `dosTime` is the MS-DOS
  // date (high word) and time (low word).
  CAddedFile addFile(std::string_view name, const std::vector<std::uint8_t>& data, std::uint32_t dosTime);

  // Adds an entry whose data is given as stored: `method`, `crc` and
  // `uncompressedSize` go into both headers unchecked.
  void addRaw(std::string_view name, std::uint16_t method, const std::uint8_t* stored, std::size_t storedSize,
              std::uint32_t crc, std::uint32_t uncompressedSize, std::uint32_t dosTime);

  // The finished archive; the writer is empty afterwards.
  std::vector<std::uint8_t> finish();

  std::size_t entryCount() const { return entries_; }

private:
  std::vector<std::uint8_t> archive_;
  std::vector<std::uint8_t> directory_;
  std::size_t entries_ = 0;
};

}  // namespace package
