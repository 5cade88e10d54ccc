// Archives made for the reader's tests, and a sink that keeps what it gets.
#pragma once

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/zip_archive.h"
#include "base/zip_digest.h"
#include "package/zip_writer.h"

namespace zip_test {

class CVectorSink final : public zip::XExtractSink {
public:
  bool rewind() override {
    ++rewinds;
    bytes.clear();
    return true;
  }
  bool write(const std::uint8_t* piece, std::size_t size) override {
    ++pieces;
    if (refuseAfter >= 0 && pieces > refuseAfter) {
      return false;
    }
    bytes.insert(bytes.end(), piece, piece + size);
    return true;
  }

  std::vector<std::uint8_t> bytes;
  int rewinds = 0;
  int pieces = 0;
  int refuseAfter = -1;  // refuses every piece after this many; -1: none
};

// Bytes that deflate well but not to nothing.
inline std::vector<std::uint8_t> textBytes(std::size_t size, unsigned seed = 1) {
  std::vector<std::uint8_t> bytes(size);
  std::uint32_t state = seed;
  for (std::size_t i = 0; i < size; ++i) {
    state = state * 1103515245u + 12345u;
    bytes[i] = static_cast<std::uint8_t>('a' + (state >> 16) % 8);
  }
  return bytes;
}

// Bytes that do not deflate at all.
inline std::vector<std::uint8_t> noiseBytes(std::size_t size, unsigned seed = 1) {
  std::vector<std::uint8_t> bytes(size);
  std::uint64_t state = seed * 0x9E3779B97F4A7C15ull;
  for (std::size_t i = 0; i < size; ++i) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    bytes[i] = static_cast<std::uint8_t>(state >> 24);
  }
  return bytes;
}

struct CFile {
  std::string name;
  std::vector<std::uint8_t> bytes;
};

// The archive as it was, with its digest recorded as the package builder
// records it: damage made before sealing reaches the walk's and the
// extraction's own checks, damage made after it the digest's.
inline std::vector<std::uint8_t> sealed(std::vector<std::uint8_t> archive) {
  if (!zip::sealArchive(archive)) {
    throw std::invalid_argument("an archive that does not end with a bare end record cannot be sealed");
  }
  return archive;
}

// The archive without its digest, to be damaged and then sealed.
inline std::vector<std::uint8_t> plainArchiveOf(const std::vector<CFile>& files) {
  package::CZipWriter writer;
  for (const CFile& file : files) {
    writer.addFile(file.name, file.bytes, 0x00210000);
  }
  return writer.finish();
}

// A package's archive: the files, sealed.
inline std::vector<std::uint8_t> archiveOf(const std::vector<CFile>& files) { return sealed(plainArchiveOf(files)); }

inline TRefPtr<zip::CZIPFile> open(const std::vector<std::uint8_t>& archive) {
  return zip::openArchive(archive.data(), archive.size());
}

// Every entry's information in archive order, as the installer walks.
inline std::vector<zip::CEntryInfo> walk(zip::CZIPFileBase& archive) {
  std::vector<zip::CEntryInfo> entries;
  for (int step = archive.firstEntry(); step == zip::kOk; step = archive.nextEntry()) {
    zip::CEntryInfo info;
    if (!archive.currentEntry(info)) {
      break;
    }
    entries.push_back(info);
  }
  return entries;
}

// Offset of the first occurrence of `bytes` in `archive`.
inline std::size_t find(const std::vector<std::uint8_t>& archive, const std::vector<std::uint8_t>& bytes) {
  auto at = std::search(archive.begin(), archive.end(), bytes.begin(), bytes.end());
  return at == archive.end() ? std::string::npos : static_cast<std::size_t>(at - archive.begin());
}

}  // namespace zip_test
