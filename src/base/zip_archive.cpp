#include "base/zip_archive.h"

#include <algorithm>
#include <array>

#include "base/zip_digest.h"
#include "base/zip_entry_data.h"
#include "base/zip_reader.h"
#include "base/zip_source.h"

namespace zip {

namespace {

// The fixed part of a central directory entry, before its name.
constexpr std::uint64_t kCentralHeaderSize = 46;

// Closes the entry opened for reading when it goes.
class CEntryOpen {
public:
  explicit CEntryOpen(unzFile reader) noexcept : reader_(reader) {}
  ~CEntryOpen() { unzCloseCurrentFile(reader_); }
  CEntryOpen(const CEntryOpen&) = delete;
  CEntryOpen& operator=(const CEntryOpen&) = delete;

private:
  unzFile reader_;
};

}  // namespace

CZIPFileBase::CZIPFileBase(void* reader, std::unique_ptr<CArchiveSource> source) noexcept
    : reader_(reader), source_(std::move(source)) {}

CZIPFileBase::~CZIPFileBase() { unzClose(reader_); }

int CZIPFileBase::firstEntry() {
  unz_global_info64 global;
  if (unzGetGlobalInfo64(reader_, &global) == UNZ_OK && global.number_entry == 0) {
    return kEndOfList;
  }
  return unzGoToFirstFile(reader_);
}

int CZIPFileBase::nextEntry() { return unzGoToNextFile(reader_); }

bool CZIPFileBase::currentEntry(CEntryInfo& info) {
  unz_file_info64 raw;
  std::array<char, kMaxNameBytes> name{};
  if (unzGetCurrentFileInfo64(reader_, &raw, name.data(), name.size(), nullptr, 0, nullptr, 0) != UNZ_OK) {
    return false;
  }
  info.name.assign(name.data(), std::min<std::size_t>(raw.size_filename, name.size()));
  info.wideName = entryWideName(info.name);
  info.size = static_cast<std::uint32_t>(raw.uncompressed_size);
  return true;
}

int CZIPFileBase::locateEntry(std::string_view name, NameCompare mode) {
  // The reader takes a terminated name, so a name holding a zero byte could
  // only ever find a different entry.
  if (name.size() >= kMaxNameBytes || name.find('\0') != std::string_view::npos) {
    return kParamError;
  }
  const std::string terminated(name);
  return unzLocateFile(reader_, terminated.c_str(), static_cast<int>(mode));
}

bool CZIPFileBase::hasValidDigest() { return digestMatches(*source_); }

bool CZIPFileBase::localNameMatches() {
  unz_file_info64 info;
  if (unzGetCurrentFileInfo64(reader_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
    return false;
  }
  std::string central(info.size_filename, '\0');
  if (unzGetCurrentFileInfo64(reader_, &info, central.data(), central.size(), nullptr, 0, nullptr, 0) != UNZ_OK) {
    return false;
  }
  // An entry an earlier extraction left open; how it ended does not matter.
  unzCloseCurrentFile(reader_);
  // Opening checks the local header against the directory, the length of
  // the name included; the name's bytes sit just before the local extra
  // field, which the data follows.
  int method = 0;
  int level = 0;
  if (unzOpenCurrentFile2(reader_, &method, &level, 1) != UNZ_OK) {
    return false;
  }
  const CEntryOpen open(reader_);
  const ZPOS64_T dataStart = unzGetCurrentFileZStreamPos64(reader_);
  const int extraSize = unzGetLocalExtrafield(reader_, nullptr, 0);
  if (extraSize < 0 || dataStart < static_cast<ZPOS64_T>(extraSize) + central.size()) {
    return false;
  }
  std::string local(central.size(), '\0');
  return source_->read(dataStart - static_cast<ZPOS64_T>(extraSize) - central.size(), local.data(), local.size()) &&
         local == central;
}

bool CZIPFileBase::directoryEndsAfterCurrent(std::size_t walked) {
  unz_global_info64 global;
  const std::uint64_t size = source_->size();
  if (unzGetGlobalInfo64(reader_, &global) != UNZ_OK || size < kEndRecordSize + global.size_comment) {
    return false;
  }
  const std::optional<CEndRecord> end = readEndRecord(*source_, size - kEndRecordSize - global.size_comment);
  if (!end || end->entries != walked || end->commentSize != global.size_comment) {
    return false;
  }
  // Where the walked entries end, counted from the directory's start as the
  // end record counts.
  std::uint64_t walkedEnd = end->directoryOffset;
  if (walked > 0) {
    unz_file_info64 last;
    if (unzGetCurrentFileInfo64(reader_, &last, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
      return false;
    }
    walkedEnd = unzGetOffset64(reader_) + kCentralHeaderSize + last.size_filename + last.size_file_extra +
                last.size_file_comment;
  }
  return walkedEnd == std::uint64_t{end->directoryOffset} + end->directorySize;
}

bool CZIPFileBase::extractCurrent(XExtractSink* sink, ExtractProgress progress, void* user) {
  unz_file_info64 info;
  if (unzGetCurrentFileInfo64(reader_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
    return false;
  }
  // An entry an earlier extraction left open; how it ended does not matter.
  unzCloseCurrentFile(reader_);
  CEntryData data(reader_, info);
  if (!data.open()) {
    return false;
  }
  if (sink && !sink->rewind()) {
    return false;
  }

  const auto total = static_cast<std::uint32_t>(info.uncompressed_size);
  std::array<std::uint8_t, kPieceSize> piece;
  std::uint64_t done = 0;
  while (done < total) {
    const int got = data.read(piece.data(), piece.size());
    if (got < 0) {
      return false;
    }
    if (got == 0) {
      break;
    }
    done += static_cast<std::uint64_t>(got);
    if (progress && !progress(static_cast<std::uint32_t>(std::min<std::uint64_t>(done, total)), total, user)) {
      return false;
    }
    if (sink && !sink->write(piece.data(), static_cast<std::size_t>(got))) {
      return false;
    }
  }
  // A size in the directory cut to 32 bits, or too small for the data,
  // leaves data behind and fails here like a changed byte does.
  return done == total && info.uncompressed_size == total && data.endsHere();
}

namespace {

uLong ZCALLBACK refuseWrite(voidpf, voidpf, const void*, uLong) { return 0; }
int ZCALLBACK noError(voidpf, voidpf) { return 0; }

}  // namespace

zlib_filefunc64_def readOnlyFunctions(open64_file_func open, read_file_func read, tell64_file_func tell,
                                      seek64_file_func seek, close_file_func close) {
  zlib_filefunc64_def functions{};
  functions.zopen64_file = open;
  functions.zread_file = read;
  functions.zwrite_file = refuseWrite;
  functions.ztell64_file = tell;
  functions.zseek64_file = seek;
  functions.zclose_file = close;
  functions.zerror_file = noError;
  return functions;
}

TRefPtr<CZIPFile> openReader(zlib_filefunc64_def& functions, const void* source) {
  auto direct = std::make_unique<CArchiveSource>(functions, source);
  if (!direct->valid()) {
    return {};
  }
  unzFile reader = unzOpen2_64(source, &functions);
  if (!reader) {
    return {};
  }
  try {
    return makeRef<CZIPFile>(reader, std::move(direct));
  } catch (...) {
    unzClose(reader);
    throw;
  }
}

}  // namespace zip
