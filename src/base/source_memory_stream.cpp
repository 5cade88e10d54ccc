#include "base/source_memory_stream.h"

#include <algorithm>
#include <cstring>
#include <vector>

TComPtr<IStream> ISourceMemoryStream::create(const void* data, std::uint64_t size) {
  return TComPtr<IStream>(new ISourceMemoryStream(data, size));
}

HRESULT ISourceMemoryStream::QueryInterface(REFIID iid, void** object) {
  if (!object) {
    return E_POINTER;
  }
  if (iid == IID_IUnknown || iid == IID_IStream) {
    *object = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG ISourceMemoryStream::AddRef() { return refcount_.fetch_add(1) + 1; }

ULONG ISourceMemoryStream::Release() {
  const ULONG left = refcount_.fetch_sub(1) - 1;
  if (left == 0) {
    delete this;
  }
  return left;
}

HRESULT ISourceMemoryStream::Read(void* buffer, ULONG count, ULONG* read) {
  ULONG copied = 0;
  if (position_ < size_) {
    copied = static_cast<ULONG>(std::min<std::uint64_t>(count, size_ - position_));
    std::memcpy(buffer, data_ + position_, copied);
    position_ += copied;
  }
  if (read) {
    *read = copied;
  }
  return S_OK;
}

HRESULT ISourceMemoryStream::Write(const void*, ULONG, ULONG*) { return STG_E_ACCESSDENIED; }

HRESULT ISourceMemoryStream::Seek(LARGE_INTEGER offset, DWORD origin, ULARGE_INTEGER* newPosition) {
  std::uint64_t base;
  switch (origin) {
    case STREAM_SEEK_SET:
      base = 0;
      break;
    case STREAM_SEEK_CUR:
      base = position_;
      break;
    case STREAM_SEEK_END:
      base = size_;
      break;
    default:
      return E_INVALIDARG;
  }
  // No bound check: reads past the end simply give nothing.
  position_ = base + static_cast<std::uint64_t>(offset.QuadPart);
  if (newPosition) {
    newPosition->QuadPart = position_;
  }
  return S_OK;
}

HRESULT ISourceMemoryStream::SetSize(ULARGE_INTEGER) { return STG_E_ACCESSDENIED; }

HRESULT ISourceMemoryStream::CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                                    ULARGE_INTEGER* written) {
  constexpr ULONG kPiece = 65536;
  std::vector<std::uint8_t> piece(kPiece);
  std::uint64_t totalRead = 0;
  std::uint64_t totalWritten = 0;
  HRESULT result = S_OK;
  while (totalRead < count.QuadPart) {
    const ULONG want = static_cast<ULONG>(std::min<std::uint64_t>(kPiece, count.QuadPart - totalRead));
    ULONG got = 0;
    Read(piece.data(), want, &got);
    if (got == 0) {
      break;
    }
    totalRead += got;
    ULONG accepted = 0;
    result = target ? target->Write(piece.data(), got, &accepted) : E_POINTER;
    totalWritten += accepted;
    if (FAILED(result) || accepted == 0) {
      break;
    }
  }
  if (read) {
    read->QuadPart = totalRead;
  }
  if (written) {
    written->QuadPart = totalWritten;
  }
  return FAILED(result) ? result : S_OK;
}

HRESULT ISourceMemoryStream::Commit(DWORD) { return S_OK; }
HRESULT ISourceMemoryStream::Revert() { return S_OK; }
HRESULT ISourceMemoryStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return S_OK; }
HRESULT ISourceMemoryStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return S_OK; }

HRESULT ISourceMemoryStream::Stat(STATSTG* stat, DWORD) {
  if (!stat) {
    return STG_E_INVALIDPOINTER;
  }
  std::memset(stat, 0, sizeof *stat);
  stat->type = STGTY_STREAM;
  stat->cbSize.QuadPart = size_;
  return S_OK;
}

HRESULT ISourceMemoryStream::Clone(IStream** clone) {
  if (clone) {
    *clone = nullptr;
  }
  return E_NOTIMPL;
}
