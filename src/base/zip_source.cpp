#include "base/zip_source.h"

#include <algorithm>
#include <limits>

namespace zip {

namespace {

constexpr std::uint32_t kEndRecordSignature = 0x06054b50;

std::uint16_t le16(const std::uint8_t* bytes) { return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8); }
std::uint32_t le32(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(le16(bytes)) | static_cast<std::uint32_t>(le16(bytes + 2)) << 16;
}

}  // namespace

CArchiveSource::CArchiveSource(const zlib_filefunc64_def& functions, const void* source) noexcept
    : functions_(functions) {
  stream_ = functions_.zopen64_file(functions_.opaque, source, ZLIB_FILEFUNC_MODE_READ | ZLIB_FILEFUNC_MODE_EXISTING);
}

CArchiveSource::~CArchiveSource() {
  if (stream_) {
    functions_.zclose_file(functions_.opaque, stream_);
  }
}

std::uint64_t CArchiveSource::size() {
  if (functions_.zseek64_file(functions_.opaque, stream_, 0, ZLIB_FILEFUNC_SEEK_END) != 0) {
    return 0;
  }
  const ZPOS64_T end = functions_.ztell64_file(functions_.opaque, stream_);
  return end == static_cast<ZPOS64_T>(-1) ? 0 : end;
}

bool CArchiveSource::read(std::uint64_t offset, void* buffer, std::size_t size) {
  if (functions_.zseek64_file(functions_.opaque, stream_, offset, ZLIB_FILEFUNC_SEEK_SET) != 0) {
    return false;
  }
  auto* into = static_cast<std::uint8_t*>(buffer);
  while (size > 0) {
    const auto piece = static_cast<uLong>(std::min<std::size_t>(size, std::numeric_limits<std::uint32_t>::max()));
    const uLong got = functions_.zread_file(functions_.opaque, stream_, into, piece);
    if (got == 0) {
      return false;
    }
    into += got;
    size -= got;
  }
  return true;
}

std::optional<CEndRecord> parseEndRecord(const std::uint8_t* bytes) {
  if (le32(bytes) != kEndRecordSignature) {
    return std::nullopt;
  }
  CEndRecord record;
  record.entries = le16(bytes + 10);
  record.directorySize = le32(bytes + 12);
  record.directoryOffset = le32(bytes + 16);
  record.commentSize = le16(bytes + 20);
  return record;
}

std::optional<CEndRecord> readEndRecord(CArchiveSource& source, std::uint64_t offset) {
  std::uint8_t bytes[kEndRecordSize];
  if (!source.read(offset, bytes, sizeof(bytes))) {
    return std::nullopt;
  }
  return parseEndRecord(bytes);
}

}  // namespace zip
