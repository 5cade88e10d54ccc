// One owner for every kind of platform handle.
//
// TScopedHandle<Traits> is move-only and closes its handle on every path;
// Traits says what the handle type is, which value means "none" and how to
// close it.  The aliases below name the kinds the setup uses.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

template <class Traits>
class TScopedHandle {
public:
  using Handle = typename Traits::Handle;

  TScopedHandle() noexcept : handle_(Traits::invalid()) {}
  explicit TScopedHandle(Handle handle) noexcept : handle_(handle) {}
  ~TScopedHandle() { reset(); }

  TScopedHandle(const TScopedHandle&) = delete;
  TScopedHandle& operator=(const TScopedHandle&) = delete;

  TScopedHandle(TScopedHandle&& other) noexcept : handle_(other.release()) {}
  TScopedHandle& operator=(TScopedHandle&& other) noexcept {
    if (this != &other) {
      reset(other.release());
    }
    return *this;
  }

  Handle get() const noexcept { return handle_; }
  bool valid() const noexcept { return handle_ != Traits::invalid(); }
  explicit operator bool() const noexcept { return valid(); }

  // Gives up ownership without closing.
  Handle release() noexcept { return std::exchange(handle_, Traits::invalid()); }

  // Closes the held handle (if any) and takes the new one.
  void reset(Handle handle = Traits::invalid()) noexcept {
    Handle old = std::exchange(handle_, handle);
    if (old != Traits::invalid()) {
      Traits::close(old);
    }
  }

  // For functions that return a handle through an out parameter: closes what
  // is held and hands out the slot.
  Handle* receive() noexcept {
    reset();
    return &handle_;
  }

private:
  Handle handle_;
};

namespace handle_traits {

// Handles of kernel objects that use NULL for "none": events, processes,
// threads, file mappings.
struct Kernel {
  using Handle = HANDLE;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept { ::CloseHandle(h); }
};

// File handles, whose "none" is INVALID_HANDLE_VALUE.
struct File {
  using Handle = HANDLE;
  static Handle invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(Handle h) noexcept { ::CloseHandle(h); }
};

struct RegistryKey {
  using Handle = HKEY;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept { ::RegCloseKey(h); }
};

// A mapped view of a file mapping.
struct MappedView {
  using Handle = void*;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept { ::UnmapViewOfFile(h); }
};

struct Module {
  using Handle = HMODULE;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept { ::FreeLibrary(h); }
};

struct Find {
  using Handle = HANDLE;
  static Handle invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(Handle h) noexcept { ::FindClose(h); }
};

struct Icon {
  using Handle = HICON;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept { ::DestroyIcon(h); }
};

// Memory the shell hands out (SHGetKnownFolderPath and the like).
struct CoTaskMemory {
  using Handle = void*;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept { ::CoTaskMemFree(h); }
};

// Memory the system hands out with LocalAlloc (CommandLineToArgvW, security
// descriptors).
struct LocalMemory {
  using Handle = void*;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept { ::LocalFree(h); }
};

}  // namespace handle_traits

using CScopedHandle = TScopedHandle<handle_traits::Kernel>;
using CScopedFile = TScopedHandle<handle_traits::File>;
using CScopedKey = TScopedHandle<handle_traits::RegistryKey>;
using CScopedView = TScopedHandle<handle_traits::MappedView>;
using CScopedModule = TScopedHandle<handle_traits::Module>;
using CScopedFind = TScopedHandle<handle_traits::Find>;
using CScopedIcon = TScopedHandle<handle_traits::Icon>;
using CScopedCoTaskMem = TScopedHandle<handle_traits::CoTaskMemory>;
using CScopedLocalMem = TScopedHandle<handle_traits::LocalMemory>;
