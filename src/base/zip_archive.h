// The package archive: the product's files, read from a ZIP archive held in
// memory.
//
// One CZIPFileBase holds one open handle of the ZIP reader; the handle owns
// the memory stream the reader reads through and the entry open for reading.
// The application keeps it through TRefPtr<CZIPFile> for the whole run and
// hands references to the verification step and the installer, which never
// run at the same time: the archive has a single current-entry position and
// no lock.
//
// The reader's own walk (firstEntry, nextEntry) trusts the central
// directory.  Whoever places or verifies files checks hasValidDigest first
// and walks with CEntryWalk (zip_entry_walk.h), which refuses a directory
// that does not hold together.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/ref_ptr.h"

#ifdef _WIN32
#include <objidl.h>
#endif

namespace zip {

// The reader's result codes that callers look at.
constexpr int kOk = 0;
constexpr int kEndOfList = -100;
constexpr int kParamError = -102;

// Stored names longer than this are cut.
constexpr std::size_t kMaxNameBytes = 256;
// Decompressed data reaches the sink in pieces of at most this size.
constexpr std::size_t kPieceSize = 4096;

// What a walk learns about one entry.  The name is handed on as stored: it is
// untrusted, and whoever places files from it checks it with
// isSafeEntryName first.
struct CEntryInfo {
  std::string name;          // 8-bit, as stored, at most kMaxNameBytes
  std::wstring wideName;     // converted with the system's ANSI code page
  std::uint32_t size = 0;    // uncompressed
};

enum class NameCompare : int {
  Exact = 1,
  IgnoreAsciiCase = 2,  // letters A-Z only; other bytes compare exactly
};

// Called after every piece; answering false aborts the extraction.
using ExtractProgress = bool (*)(std::uint32_t bytesDone, std::uint32_t bytesTotal, void* user);

// Where extractCurrent delivers the decompressed pieces.
class XExtractSink {
public:
  // Called once before the first piece.
  virtual bool rewind() = 0;
  // False unless the whole piece was taken.
  virtual bool write(const std::uint8_t* piece, std::size_t size) = 0;

protected:
  ~XExtractSink() = default;
};

class CArchiveSource;

class CZIPFileBase {
public:
  // Takes over an open handle of the ZIP reader and the direct reads of the
  // same bytes.
  CZIPFileBase(void* reader, std::unique_ptr<CArchiveSource> source) noexcept;
  // Closes any open entry (its read buffer and decompressor), the archive and
  // with it the memory stream.
  ~CZIPFileBase();
  CZIPFileBase(const CZIPFileBase&) = delete;
  CZIPFileBase& operator=(const CZIPFileBase&) = delete;

  // kOk, or kEndOfList for an archive without entries, or the reader's error.
  int firstEntry();
  // kOk, kEndOfList after the last entry of the central directory, or the
  // reader's error.
  int nextEntry();
  // False when the reader is not positioned on a readable entry.
  bool currentEntry(CEntryInfo& info);
  // Moves to the named entry: kOk, kEndOfList when there is none (the
  // position is then unchanged), kParamError for a name of 256 bytes or more.
  int locateEntry(std::string_view name, NameCompare mode);

  // Decompresses the current entry into the sink (or nowhere) in pieces of
  // kPieceSize.  True only when exactly the entry's size was delivered, its
  // stored data ended exactly with the deflate stream, and the CRC-32 of the
  // delivered bytes is the stored one: a package whose stored bytes were
  // changed never passes.  A method other than 0 or 8, a local header that
  // disagrees with the central directory, corrupt data, a refused piece or
  // an aborting progress callback also give false.
  bool extractCurrent(XExtractSink* sink, ExtractProgress progress, void* user);
#ifdef _WIN32
  // The same into an IStream, which is first moved to its start.
  bool extractCurrent(IStream* sink, ExtractProgress progress, void* user);
#endif

  // Whether the archive carries its digest and every byte still matches it
  // (zip_digest.h).  Reads the whole archive: a worker's job, never the
  // start-up's.  A package without a valid digest is not installed.
  bool hasValidDigest();

private:
  friend class CEntryWalk;

  // Whether the current entry's local header holds the same name as its
  // central directory entry.
  bool localNameMatches();
  // Whether the current entry is the last of the central directory that the
  // end record describes, and `walked` entries are all it holds.
  bool directoryEndsAfterCurrent(std::size_t walked);

  void* reader_;
  std::unique_ptr<CArchiveSource> source_;
};

using CZIPFile = TRefObjectExt<CZIPFileBase>::CRef;

// Opens the archive over a copy of the bytes; empty when the reader cannot
// open it.  The caller's bytes may go away afterwards.  Opening reads only
// the central directory: the digest is checked by whoever walks the package.
TRefPtr<CZIPFile> openArchive(const void* bytes, std::size_t size);

// A stored 8-bit name in UTF-16.  Windows: the system's ANSI code page,
// whatever the entry's flags say.  The host tree, which has no code page,
// widens each byte to the code unit of the same value.
std::wstring entryWideName(std::string_view name);

#ifdef _WIN32
// The package resource of the own module (RCDATA).
constexpr unsigned kPackageResourceId = 103;

// Copies the body of the package resource into `buffer` and deciphers it
// there.  False, with nothing useful in `buffer`, when the resource is
// missing, cannot be loaded or locked, or is too small to hold a body.
bool loadPackage(std::vector<std::uint8_t>& buffer);
#endif

}  // namespace zip
