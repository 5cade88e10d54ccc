#include "package/zip_writer.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace package {

namespace {

constexpr std::uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr std::uint32_t kCentralHeaderSignature = 0x02014b50;
constexpr std::uint32_t kEndRecordSignature = 0x06054b50;
// 2.0: deflate.  Made on MS-DOS (high byte 0), so the attributes are DOS ones.
constexpr std::uint16_t kVersion = 20;
constexpr std::uint32_t kArchiveAttribute = 0x20;
// The end record's count of 0xFFFF means "see the 64-bit record", which
// the package format does not have: readers would walk on past the last
// entry.
constexpr std::size_t kMaxEntries = 0xFFFE;
constexpr std::uint64_t kMaxOffset = 0xFFFFFFFFu;

void put16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  put16(out, static_cast<std::uint16_t>(value));
  put16(out, static_cast<std::uint16_t>(value >> 16));
}

std::uint32_t checked32(std::uint64_t value, const char* what) {
  if (value > kMaxOffset) {
    throw CZipLimitError(std::string(what) + " exceeds 4 GiB, which the package format cannot hold");
  }
  return static_cast<std::uint32_t>(value);
}

}  // namespace

std::uint32_t crc32Of(const std::uint8_t* data, std::size_t size) {
  uLong crc = crc32(0L, Z_NULL, 0);
  while (size > 0) {
    const auto piece = static_cast<uInt>(std::min<std::size_t>(size, std::numeric_limits<uInt>::max()));
    crc = crc32(crc, data, piece);
    data += piece;
    size -= piece;
  }
  return static_cast<std::uint32_t>(crc);
}

std::vector<std::uint8_t> deflateRaw(const std::uint8_t* data, std::size_t size) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw std::runtime_error("zlib could not start a deflate stream");
  }
  std::vector<std::uint8_t> out(deflateBound(&stream, static_cast<uLong>(size)));
  stream.next_in = const_cast<Bytef*>(data);
  stream.avail_in = static_cast<uInt>(size);
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (result != Z_STREAM_END) {
    throw std::runtime_error("zlib could not deflate a file");
  }
  return out;
}

CAddedFile CZipWriter::addFile(std::string_view name, const std::vector<std::uint8_t>& data, std::uint32_t dosTime) {
  const std::uint32_t size = checked32(data.size(), "a file");
  const std::uint32_t crc = crc32Of(data.data(), data.size());
  std::vector<std::uint8_t> deflated = deflateRaw(data.data(), data.size());
  if (deflated.size() < data.size()) {
    addRaw(name, static_cast<std::uint16_t>(Method::Deflated), deflated.data(), deflated.size(), crc, size, dosTime);
    return {Method::Deflated, deflated.size()};
  }
  addRaw(name, static_cast<std::uint16_t>(Method::Stored), data.data(), data.size(), crc, size, dosTime);
  return {Method::Stored, data.size()};
}

void CZipWriter::addRaw(std::string_view name, std::uint16_t method, const std::uint8_t* stored,
                        std::size_t storedSize, std::uint32_t crc, std::uint32_t uncompressedSize,
                        std::uint32_t dosTime) {
  if (entries_ == kMaxEntries) {
    throw CZipLimitError("more than 65534 files, which the package format cannot hold");
  }
  if (name.size() > 0xFFFF) {
    throw CZipLimitError("an entry name longer than 65535 bytes");
  }
  const std::uint32_t offset = checked32(archive_.size(), "the package");
  const std::uint32_t compressedSize = checked32(storedSize, "a file");
  const auto nameSize = static_cast<std::uint16_t>(name.size());
  const auto time = static_cast<std::uint16_t>(dosTime);
  const auto date = static_cast<std::uint16_t>(dosTime >> 16);

  put32(archive_, kLocalHeaderSignature);
  put16(archive_, kVersion);
  put16(archive_, 0);  // flags: sizes in the header, names in the system's code page
  put16(archive_, method);
  put16(archive_, time);
  put16(archive_, date);
  put32(archive_, crc);
  put32(archive_, compressedSize);
  put32(archive_, uncompressedSize);
  put16(archive_, nameSize);
  put16(archive_, 0);  // extra field
  archive_.insert(archive_.end(), name.begin(), name.end());
  archive_.insert(archive_.end(), stored, stored + storedSize);
  checked32(archive_.size(), "the package");

  put32(directory_, kCentralHeaderSignature);
  put16(directory_, kVersion);  // made by
  put16(directory_, kVersion);  // needed
  put16(directory_, 0);
  put16(directory_, method);
  put16(directory_, time);
  put16(directory_, date);
  put32(directory_, crc);
  put32(directory_, compressedSize);
  put32(directory_, uncompressedSize);
  put16(directory_, nameSize);
  put16(directory_, 0);  // extra field
  put16(directory_, 0);  // comment
  put16(directory_, 0);  // disk
  put16(directory_, 0);  // internal attributes
  put32(directory_, kArchiveAttribute);
  put32(directory_, offset);
  directory_.insert(directory_.end(), name.begin(), name.end());
  ++entries_;
}

std::vector<std::uint8_t> CZipWriter::finish() {
  const std::uint32_t directoryOffset = checked32(archive_.size(), "the package");
  const std::uint32_t directorySize = checked32(directory_.size(), "the package's directory");
  archive_.insert(archive_.end(), directory_.begin(), directory_.end());
  checked32(archive_.size(), "the package");
  put32(archive_, kEndRecordSignature);
  put16(archive_, 0);  // this disk
  put16(archive_, 0);  // disk of the directory
  put16(archive_, static_cast<std::uint16_t>(entries_));
  put16(archive_, static_cast<std::uint16_t>(entries_));
  put32(archive_, directorySize);
  put32(archive_, directoryOffset);
  put16(archive_, 0);  // comment
  std::vector<std::uint8_t> result;
  result.swap(archive_);
  directory_.clear();
  entries_ = 0;
  return result;
}

}  // namespace package
