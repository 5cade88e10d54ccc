#include "base/zip_archive.h"

#include <algorithm>
#include <array>

#include "base/zip_entry_data.h"
#include "base/zip_reader.h"

namespace zip {

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
  unzFile reader = unzOpen2_64(source, &functions);
  if (!reader) {
    return {};
  }
  try {
    return makeRef<CZIPFile>(reader);
  } catch (...) {
    unzClose(reader);
    throw;
  }
}

}  // namespace zip
