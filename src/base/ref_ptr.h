// The owning pointer of reference-counted objects.
//
// One machine pointer wide.  Copying takes a reference, destruction and
// reassignment give one back.  Using an empty pointer where an object is
// required throws XExceptionPointer instead of faulting.
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

#include "app/exception.h"
#include "base/ref_object.h"

template <class T>
class TRefPtr {
public:
  TRefPtr() noexcept = default;
  TRefPtr(std::nullptr_t) noexcept {}

  // Takes over the first reference of a new object (count 1).
  static TRefPtr adopt(T* object) noexcept {
    TRefPtr result;
    result.ptr_ = object;
    return result;
  }
  // Takes a new reference on an object somebody else already holds.
  static TRefPtr share(T* object) noexcept {
    if (object) {
      object->addRef();
    }
    return adopt(object);
  }

  TRefPtr(const TRefPtr& other) noexcept : ptr_(other.ptr_) { addRefHeld(); }
  TRefPtr(TRefPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}

  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  TRefPtr(const TRefPtr<U>& other) noexcept : ptr_(other.get()) {
    addRefHeld();
  }
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  TRefPtr(TRefPtr<U>&& other) noexcept : ptr_(other.detach()) {}

  ~TRefPtr() { reset(); }

  TRefPtr& operator=(const TRefPtr& other) noexcept {
    TRefPtr copy(other);
    swap(copy);
    return *this;
  }
  TRefPtr& operator=(TRefPtr&& other) noexcept {
    TRefPtr moved(std::move(other));
    swap(moved);
    return *this;
  }

  // The object, or nullptr: for callers that test before they use.
  T* get() const noexcept { return ptr_; }

  // The object; throws XExceptionPointer when there is none.
  T& ref() const {
    if (!ptr_) {
      throw XExceptionPointer();
    }
    return *ptr_;
  }
  T* operator->() const { return &ref(); }
  T& operator*() const { return ref(); }

  explicit operator bool() const noexcept { return ptr_ != nullptr; }

  void reset() noexcept {
    if (T* old = std::exchange(ptr_, nullptr)) {
      old->release();
    }
  }
  // Hands the reference to the caller without releasing it.
  T* detach() noexcept { return std::exchange(ptr_, nullptr); }

  void swap(TRefPtr& other) noexcept { std::swap(ptr_, other.ptr_); }

  friend bool operator==(const TRefPtr& a, const TRefPtr& b) noexcept { return a.ptr_ == b.ptr_; }
  friend bool operator==(const TRefPtr& a, std::nullptr_t) noexcept { return a.ptr_ == nullptr; }

private:
  void addRefHeld() const noexcept {
    if (ptr_) {
      ptr_->addRef();
    }
  }

  T* ptr_ = nullptr;
};

// A new object of type T, held by its first reference.
template <class T, class... Args>
TRefPtr<T> makeRef(Args&&... args) {
  return TRefPtr<T>::adopt(new T(std::forward<Args>(args)...));
}

// A reference of a more derived type on the same object; the caller knows the
// type (every node of one tree has the same payload).
template <class To, class From>
TRefPtr<To> staticRefCast(const TRefPtr<From>& from) noexcept {
  return TRefPtr<To>::share(static_cast<To*>(from.get()));
}
