#include "base/zip_digest.h"

#include <algorithm>
#include <string>

#include "base/md5.h"
#include "base/zip_source.h"

namespace zip {

namespace {

constexpr std::size_t kCommentSizeField = 20;  // within the end record

std::string digestComment(const CMd5Digest& digest) {
  constexpr char kHexDigits[] = "0123456789abcdef";
  std::string comment(kDigestPrefix);
  for (std::uint8_t byte : digest) {
    comment += kHexDigits[byte >> 4];
    comment += kHexDigits[byte & 0x0F];
  }
  return comment;
}

// The digest of the first `size` bytes, read in large pieces.
bool digestOf(CArchiveSource& source, std::uint64_t size, CMd5Digest& digest) {
  CMd5 md5;
  std::vector<std::uint8_t> piece(256 * 1024);
  for (std::uint64_t offset = 0; offset < size;) {
    const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(piece.size(), size - offset));
    if (!source.read(offset, piece.data(), count)) {
      return false;
    }
    md5.update(piece.data(), count);
    offset += count;
  }
  digest = md5.finish();
  return true;
}

}  // namespace

bool sealArchive(std::vector<std::uint8_t>& archive) {
  if (archive.size() < kEndRecordSize) {
    return false;
  }
  const std::size_t record = archive.size() - kEndRecordSize;
  const std::optional<CEndRecord> end = parseEndRecord(archive.data() + record);
  if (!end || end->commentSize != 0) {
    return false;
  }
  archive[record + kCommentSizeField] = static_cast<std::uint8_t>(kDigestCommentSize);
  const std::string comment = digestComment(md5Digest(archive.data(), archive.size()));
  archive.insert(archive.end(), comment.begin(), comment.end());
  return true;
}

bool digestMatches(CArchiveSource& source) {
  const std::uint64_t size = source.size();
  if (size < kEndRecordSize + kDigestCommentSize) {
    return false;
  }
  const std::uint64_t commentStart = size - kDigestCommentSize;
  const std::optional<CEndRecord> record = readEndRecord(source, commentStart - kEndRecordSize);
  if (!record || record->commentSize != kDigestCommentSize) {
    return false;
  }
  std::string comment(kDigestCommentSize, '\0');
  CMd5Digest digest;
  return source.read(commentStart, comment.data(), comment.size()) && digestOf(source, commentStart, digest) &&
         comment == digestComment(digest);
}

}  // namespace zip
