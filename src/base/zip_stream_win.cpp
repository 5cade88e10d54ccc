// The archive over the platform's memory stream: the reader's reads and
// seeks go through the stream's Read and Seek, and extraction can write into
// any IStream.
#include <windows.h>
#include <shlwapi.h>

#include <climits>

#include "base/ansi.h"
#include "base/com_ptr.h"
#include "base/zip_reader.h"

namespace zip {

namespace {

IStream* asStream(voidpf stream) { return static_cast<IStream*>(stream); }

// The reader's reference on the stream, given back by closeStream.
voidpf ZCALLBACK openStream(voidpf, const void* source, int) {
  IStream* stream = static_cast<IStream*>(const_cast<void*>(source));
  stream->AddRef();
  return stream;
}

uLong ZCALLBACK readStream(voidpf, voidpf stream, void* buffer, uLong size) {
  ULONG read = 0;
  if (FAILED(asStream(stream)->Read(buffer, size, &read))) {
    return 0;
  }
  return read;
}

ZPOS64_T ZCALLBACK tellStream(voidpf, voidpf stream) {
  LARGE_INTEGER none{};
  ULARGE_INTEGER position{};
  if (FAILED(asStream(stream)->Seek(none, STREAM_SEEK_CUR, &position))) {
    return static_cast<ZPOS64_T>(-1);
  }
  return position.QuadPart;
}

long ZCALLBACK seekStream(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  DWORD from = STREAM_SEEK_SET;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: from = STREAM_SEEK_SET; break;
    case ZLIB_FILEFUNC_SEEK_CUR: from = STREAM_SEEK_CUR; break;
    case ZLIB_FILEFUNC_SEEK_END: from = STREAM_SEEK_END; break;
    default: return -1;
  }
  LARGE_INTEGER move;
  move.QuadPart = static_cast<LONGLONG>(offset);
  return SUCCEEDED(asStream(stream)->Seek(move, from, nullptr)) ? 0 : -1;
}

int ZCALLBACK closeStream(voidpf, voidpf stream) {
  asStream(stream)->Release();
  return 0;
}

class CStreamSink final : public XExtractSink {
public:
  explicit CStreamSink(IStream* stream) noexcept : stream_(stream) {}

  bool rewind() override {
    LARGE_INTEGER start{};
    return SUCCEEDED(stream_->Seek(start, STREAM_SEEK_SET, nullptr));
  }
  bool write(const std::uint8_t* piece, std::size_t size) override {
    ULONG written = 0;
    return SUCCEEDED(stream_->Write(piece, static_cast<ULONG>(size), &written)) && written == size;
  }

private:
  IStream* stream_;
};

}  // namespace

TRefPtr<CZIPFile> openArchive(const void* bytes, std::size_t size) {
  if (!bytes || size > UINT_MAX) {
    return {};
  }
  TComPtr<IStream> stream(::SHCreateMemStream(static_cast<const BYTE*>(bytes), static_cast<UINT>(size)));
  if (!stream) {
    return {};
  }
  zlib_filefunc64_def functions = readOnlyFunctions(openStream, readStream, tellStream, seekStream, closeStream);
  // The reader holds its own reference from here on; ours goes with `stream`.
  return openReader(functions, stream.get());
}

bool CZIPFileBase::extractCurrent(IStream* sink, ExtractProgress progress, void* user) {
  if (!sink) {
    return extractCurrent(static_cast<XExtractSink*>(nullptr), progress, user);
  }
  CStreamSink streamSink(sink);
  return extractCurrent(&streamSink, progress, user);
}

std::wstring entryWideName(std::string_view name) { return fromAnsi(name); }

}  // namespace zip
