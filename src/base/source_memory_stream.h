// The platform's IStream over a memory block that outlives it, so that the
// image decoder can read pictures straight from the resource bundle.
// Windows only.
#pragma once

#include <objidl.h>

#include <atomic>
#include <cstdint>

#include "base/com_ptr.h"

class ISourceMemoryStream final : public IStream {
public:
  // A new stream with one reference, owned by the result.
  static TComPtr<IStream> create(const void* data, std::uint64_t size);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // ISequentialStream
  HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG count, ULONG* read) override;
  HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG count, ULONG* written) override;

  // IStream
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER offset, DWORD origin, ULARGE_INTEGER* newPosition) override;
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override;
  HRESULT STDMETHODCALLTYPE CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                                   ULARGE_INTEGER* written) override;
  HRESULT STDMETHODCALLTYPE Commit(DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Revert() override;
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD type) override;
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD type) override;
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Clone(IStream** clone) override;

private:
  ISourceMemoryStream(const void* data, std::uint64_t size) noexcept
      : data_(static_cast<const std::uint8_t*>(data)), size_(size) {}
  ~ISourceMemoryStream() = default;

  std::atomic<ULONG> refcount_{1};
  const std::uint8_t* data_;
  std::uint64_t size_;
  std::uint64_t position_ = 0;
};
