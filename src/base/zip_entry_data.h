// The data of one archive entry, opened raw through the ZIP reader and
// decompressed here, so that the end of the entry is checked as strictly as
// its bytes: the deflate stream must end exactly where the entry's stored
// data ends, and the CRC-32 of what came out must be the stored one.
#pragma once

#include <minizip/unzip.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace zip {

class CEntryData {
public:
  // The reader must be positioned on the entry described by `info`.
  CEntryData(unzFile reader, const unz_file_info64& info) noexcept;
  // Closes the entry in the reader (frees its read buffer).
  ~CEntryData();
  CEntryData(const CEntryData&) = delete;
  CEntryData& operator=(const CEntryData&) = delete;

  // Opens the entry: false for a method other than stored or deflated, or a
  // local header that disagrees with the central directory.
  bool open();

  // Fills `piece` with up to `capacity` decompressed bytes: the count, 0 when
  // the entry's data has ended, or a negative value for corrupt data.
  int read(std::uint8_t* piece, std::size_t capacity);

  // Once the expected number of bytes has been read: true when no more data
  // follows, the stored data ends exactly with the deflate stream, and the
  // CRC-32 of everything read matches the stored one.
  bool endsHere();

private:
  int readStored(std::uint8_t* piece, std::size_t capacity);
  int readDeflated(std::uint8_t* piece, std::size_t capacity);
  // The next raw piece of stored data into the input buffer; false on a
  // failed read.
  bool refill();

  unzFile reader_;
  const unz_file_info64& info_;
  bool opened_ = false;
  bool inflating_ = false;
  bool streamEnded_ = false;
  bool inputEnded_ = false;
  std::uint32_t crc_ = 0;
  z_stream stream_{};
  // The raw data arrives in pieces this large.
  std::unique_ptr<std::array<std::uint8_t, 65536>> input_;
};

}  // namespace zip
