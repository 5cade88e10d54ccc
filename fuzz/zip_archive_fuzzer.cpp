// Throws arbitrary bytes at the package archive's reader: opening, walking,
// locating and extracting every entry, the strict walk and the digest must
// never crash; an extraction that succeeds has delivered exactly the entry's
// size, a strict walk that has ended keeps its answer, and an archive that
// opens once sealed carries a valid digest.  The same bytes also go through
// the container's decipher step.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/zip_archive.h"
#include "base/zip_cipher.h"
#include "base/zip_digest.h"
#include "base/zip_entry_name.h"
#include "base/zip_entry_walk.h"

namespace {

void check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

class CCountingSink final : public zip::XExtractSink {
public:
  bool rewind() override {
    bytes = 0;
    return true;
  }
  bool write(const std::uint8_t* piece, std::size_t size) override {
    check(piece != nullptr && size > 0 && size <= zip::kPieceSize);
    bytes += size;
    return true;
  }
  std::uint64_t bytes = 0;
};

bool anyProgress(std::uint32_t done, std::uint32_t total, void*) {
  check(done <= total);
  return true;
}

void walkStrictly(zip::CZIPFileBase& archive) {
  zip::CEntryWalk walk(archive);
  zip::CEntryInfo info;
  zip::WalkStep step = zip::WalkStep::Entry;
  for (int entries = 0; step == zip::WalkStep::Entry && entries < 64; ++entries) {
    step = walk.next(info);
  }
  if (step != zip::WalkStep::Entry) {
    check(walk.next(info) == step);
  }
}

void sealAndVerify(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes(data, data + size);
  if (!zip::sealArchive(bytes)) {
    return;
  }
  if (TRefPtr<zip::CZIPFile> sealed = zip::openArchive(bytes.data(), bytes.size())) {
    check(sealed->hasValidDigest());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> body;
  if (zip::decipherContainer(data, size, body)) {
    check(body.size() == size - zip::kKeyFieldSize);
  }

  sealAndVerify(data, size);
  TRefPtr<zip::CZIPFile> archive = zip::openArchive(data, size);
  if (!archive) {
    return 0;
  }
  archive->hasValidDigest();
  walkStrictly(*archive);
  int entries = 0;
  for (int step = archive->firstEntry(); step == zip::kOk && entries < 64; step = archive->nextEntry(), ++entries) {
    zip::CEntryInfo info;
    if (!archive->currentEntry(info)) {
      break;
    }
    check(info.name.size() <= zip::kMaxNameBytes);
    zip::isSafeEntryName(info.name);
    zip::isSafeEntryName(info.wideName);
    CCountingSink sink;
    if (archive->extractCurrent(&sink, anyProgress, nullptr)) {
      check(sink.bytes == info.size);
    }
    archive->locateEntry(info.name, zip::NameCompare::IgnoreAsciiCase);
  }
  return 0;
}
