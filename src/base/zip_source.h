// The archive's bytes read directly, beside the ZIP reader.
//
// The checks the reader does not make (the digest over the whole archive,
// the end of the central directory, the names in the local headers) read the
// bytes themselves, through the same file functions as the reader and its
// own reference on the same stream.  The reader seeks before every read it
// makes, so reads here between two of its calls disturb nothing.
#pragma once

#include <minizip/ioapi.h>

#include <cstddef>
#include <cstdint>
#include <optional>

namespace zip {

class CArchiveSource {
public:
  // Opens its own reference on `source` through `functions`; valid() tells
  // whether that worked.
  CArchiveSource(const zlib_filefunc64_def& functions, const void* source) noexcept;
  ~CArchiveSource();
  CArchiveSource(const CArchiveSource&) = delete;
  CArchiveSource& operator=(const CArchiveSource&) = delete;

  bool valid() const noexcept { return stream_ != nullptr; }

  // The number of bytes, or nothing useful (0) when the stream cannot say.
  std::uint64_t size();
  // Exactly `size` bytes from `offset`; false when fewer are there.
  bool read(std::uint64_t offset, void* buffer, std::size_t size);

private:
  zlib_filefunc64_def functions_;
  voidpf stream_ = nullptr;
};

// The archive's end record, as far as the checks need it.  The package
// format has no 64-bit extensions, so these are the whole story.
struct CEndRecord {
  std::uint16_t entries = 0;  // in the whole central directory
  std::uint32_t directorySize = 0;
  std::uint32_t directoryOffset = 0;
  std::uint16_t commentSize = 0;
};
inline constexpr std::size_t kEndRecordSize = 22;

// The end record in the first kEndRecordSize bytes; nothing when they are
// no end record.
std::optional<CEndRecord> parseEndRecord(const std::uint8_t* bytes);
// The end record that begins at `offset`; nothing when no end record begins
// there.
std::optional<CEndRecord> readEndRecord(CArchiveSource& source, std::uint64_t offset);

}  // namespace zip
