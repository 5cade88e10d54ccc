// The archive in the host tree, which has no platform memory stream: the
// reader reads a reference-counted copy of the bytes, so the tests and the
// tools run the same reader code as the setup.
#include <algorithm>
#include <cstring>

#include "base/zip_reader.h"

namespace zip {

namespace {

struct CMemorySource : CBaseRefObject {
  explicit CMemorySource(const void* bytes, std::size_t size)
      : bytes(static_cast<const std::uint8_t*>(bytes), static_cast<const std::uint8_t*>(bytes) + size) {}

  std::vector<std::uint8_t> bytes;
  std::uint64_t position = 0;
};

CMemorySource& asSource(voidpf stream) { return *static_cast<CMemorySource*>(stream); }

// The reader's reference on the source, given back by closeSource.
voidpf openSource(voidpf, const void* source, int) {
  auto* memory = static_cast<CMemorySource*>(const_cast<void*>(source));
  memory->addRef();
  return memory;
}

uLong readSource(voidpf, voidpf stream, void* buffer, uLong size) {
  CMemorySource& source = asSource(stream);
  const std::uint64_t left = source.bytes.size() - std::min<std::uint64_t>(source.position, source.bytes.size());
  const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(size, left));
  if (count > 0) {
    std::memcpy(buffer, source.bytes.data() + source.position, count);
  }
  source.position += count;
  return static_cast<uLong>(count);
}

ZPOS64_T tellSource(voidpf, voidpf stream) { return asSource(stream).position; }

// Like the platform's memory stream: any position from the start on, none
// before it.
long seekSource(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  CMemorySource& source = asSource(stream);
  std::uint64_t base = 0;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = source.position; break;
    case ZLIB_FILEFUNC_SEEK_END: base = source.bytes.size(); break;
    default: return -1;
  }
  if (offset > UINT64_MAX - base) {
    return -1;
  }
  source.position = base + offset;
  return 0;
}

int closeSource(voidpf, voidpf stream) {
  asSource(stream).release();
  return 0;
}

}  // namespace

TRefPtr<CZIPFile> openArchive(const void* bytes, std::size_t size) {
  if (!bytes) {
    return {};
  }
  TRefPtr<CMemorySource> source = makeRef<CMemorySource>(bytes, size);
  zlib_filefunc64_def functions = readOnlyFunctions(openSource, readSource, tellSource, seekSource, closeSource);
  return openReader(functions, source.get());
}

std::wstring entryWideName(std::string_view name) {
  std::wstring wide;
  wide.reserve(name.size());
  for (char c : name) {
    wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  }
  return wide;
}

}  // namespace zip
