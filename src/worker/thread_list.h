// The global list of started worker threads, with its own process-wide lock.
// It finds the object of the calling thread by its thread id.  The lock is
// never held together with a thread object's own lock.
#pragma once

#include <cstdint>

class XRefThread;

class CThreadList {
public:
  // Puts the object at the head of the list.
  static void link(XRefThread& thread) noexcept;
  static void unlink(XRefThread& thread) noexcept;
  // The object whose running thread has the id, or null.
  static XRefThread* find(std::uint32_t threadId) noexcept;
};
