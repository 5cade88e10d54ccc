#include "base/zip_entry_data.h"

namespace zip {

namespace {

constexpr int kStored = 0;
constexpr int kDeflated = Z_DEFLATED;
constexpr int kRaw = 1;

}  // namespace

CEntryData::CEntryData(unzFile reader, const unz_file_info64& info) noexcept
    : reader_(reader), info_(info), crc_(static_cast<std::uint32_t>(crc32(0L, Z_NULL, 0))) {}

CEntryData::~CEntryData() {
  if (inflating_) {
    inflateEnd(&stream_);
  }
  if (opened_) {
    unzCloseCurrentFile(reader_);
  }
}

bool CEntryData::open() {
  const auto method = static_cast<int>(info_.compression_method);
  if (method != kStored && method != kDeflated) {
    return false;
  }
  int localMethod = -1;
  int level = 0;
  // Raw: the reader checks the local header and hands the stored bytes on;
  // inflating them and comparing the CRC-32 happen here.
  if (unzOpenCurrentFile2(reader_, &localMethod, &level, kRaw) != UNZ_OK) {
    return false;
  }
  opened_ = true;
  if (localMethod != method) {
    return false;
  }
  if (method == kDeflated) {
    input_ = std::make_unique<std::array<std::uint8_t, 65536>>();
    if (inflateInit2(&stream_, -MAX_WBITS) != Z_OK) {
      return false;
    }
    inflating_ = true;
  }
  return true;
}

int CEntryData::read(std::uint8_t* piece, std::size_t capacity) {
  const int got = inflating_ ? readDeflated(piece, capacity) : readStored(piece, capacity);
  if (got > 0) {
    crc_ = static_cast<std::uint32_t>(crc32(crc_, piece, static_cast<uInt>(got)));
  }
  return got;
}

int CEntryData::readStored(std::uint8_t* piece, std::size_t capacity) {
  const int got = unzReadCurrentFile(reader_, piece, static_cast<unsigned>(capacity));
  if (got == 0) {
    inputEnded_ = streamEnded_ = true;
  }
  return got;
}

bool CEntryData::refill() {
  const int got = unzReadCurrentFile(reader_, input_->data(), static_cast<unsigned>(input_->size()));
  if (got < 0) {
    return false;
  }
  inputEnded_ = got == 0;
  stream_.next_in = input_->data();
  stream_.avail_in = static_cast<uInt>(got);
  return true;
}

int CEntryData::readDeflated(std::uint8_t* piece, std::size_t capacity) {
  stream_.next_out = piece;
  stream_.avail_out = static_cast<uInt>(capacity);
  while (stream_.avail_out > 0 && !streamEnded_) {
    if (stream_.avail_in == 0 && !inputEnded_ && !refill()) {
      return -1;
    }
    if (stream_.avail_in == 0 && inputEnded_) {
      break;  // the stored data ended before the deflate stream did
    }
    const int result = inflate(&stream_, Z_NO_FLUSH);
    if (result == Z_STREAM_END) {
      streamEnded_ = true;
    } else if (result != Z_OK && result != Z_BUF_ERROR) {
      return -1;
    }
  }
  return static_cast<int>(capacity - stream_.avail_out);
}

bool CEntryData::endsHere() {
  std::uint8_t probe = 0;
  if (read(&probe, 1) != 0 || !streamEnded_ || crc_ != static_cast<std::uint32_t>(info_.crc)) {
    return false;
  }
  if (!inflating_) {
    return true;
  }
  // Nothing may follow the deflate stream inside the entry's stored data.
  return stream_.avail_in == 0 && (inputEnded_ || unzReadCurrentFile(reader_, &probe, 1) == 0);
}

}  // namespace zip
