// The root of every reference-counted object of the setup.
//
// One intrusive counter, changed only by atomic increments and decrements,
// because threads and messages are released on other threads than the one
// that made them.  A new object starts at 1: its creator hands it to a TRefPtr
// that adopts that first reference instead of taking another.
#pragma once

#include <atomic>
#include <cstdint>

// Tests look at the counter through this class; nothing else can.
struct CRefCountProbe;

class CBaseRefObject {
public:
  CBaseRefObject() noexcept = default;
  CBaseRefObject(const CBaseRefObject&) = delete;
  CBaseRefObject& operator=(const CBaseRefObject&) = delete;
  virtual ~CBaseRefObject() = default;

  void addRef() const noexcept { refcount_.fetch_add(1, std::memory_order_relaxed); }

  // Destroys the object through its virtual destructor when this was the last
  // reference.
  void release() const noexcept {
    if (refcount_.fetch_sub(1, std::memory_order_acq_rel) == 1) {
      delete this;
    }
  }

private:
  friend struct CRefCountProbe;
  mutable std::atomic<std::int32_t> refcount_{1};
};

// A reference-counted holder for a payload that is not a tree node (the XML
// document, the package archive): the counter first, the payload after it.
template <class T>
struct TRefObjectExt {
  class CRef : public CBaseRefObject, public T {
  public:
    template <class... Args>
    explicit CRef(Args&&... args) : T(static_cast<Args&&>(args)...) {}
  };
};
