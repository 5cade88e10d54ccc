// Owner of one COM interface pointer: releases it on every path.
#pragma once

#include <unknwn.h>

#include <utility>

template <class Interface>
class TComPtr {
public:
  TComPtr() noexcept = default;
  // Adopts a pointer that already carries a reference (a creator's result).
  explicit TComPtr(Interface* adopted) noexcept : ptr_(adopted) {}
  ~TComPtr() { reset(); }

  TComPtr(const TComPtr& other) noexcept : ptr_(other.ptr_) {
    if (ptr_) {
      ptr_->AddRef();
    }
  }
  TComPtr& operator=(const TComPtr& other) noexcept {
    TComPtr copy(other);
    swap(copy);
    return *this;
  }
  TComPtr(TComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
  TComPtr& operator=(TComPtr&& other) noexcept {
    TComPtr moved(std::move(other));
    swap(moved);
    return *this;
  }

  Interface* get() const noexcept { return ptr_; }
  Interface* operator->() const noexcept { return ptr_; }
  explicit operator bool() const noexcept { return ptr_ != nullptr; }

  void reset() noexcept {
    if (Interface* old = std::exchange(ptr_, nullptr)) {
      old->Release();
    }
  }

  // For creators that return the interface through an out parameter.
  Interface** receive() noexcept {
    reset();
    return &ptr_;
  }
  void** receiveVoid() noexcept { return reinterpret_cast<void**>(receive()); }

  // Asks the object for another interface; empty when it has none.
  template <class Other>
  TComPtr<Other> query() const noexcept {
    TComPtr<Other> result;
    if (ptr_) {
      ptr_->QueryInterface(__uuidof(Other), result.receiveVoid());
    }
    return result;
  }

  void swap(TComPtr& other) noexcept { std::swap(ptr_, other.ptr_); }

private:
  Interface* ptr_ = nullptr;
};
