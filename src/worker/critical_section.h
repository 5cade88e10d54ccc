// A Win32 critical section with the lock()/unlock() pair that std::lock_guard
// takes.
#pragma once

#include <windows.h>

class CCriticalSection {
public:
  CCriticalSection() noexcept { ::InitializeCriticalSection(&section_); }
  ~CCriticalSection() { ::DeleteCriticalSection(&section_); }
  CCriticalSection(const CCriticalSection&) = delete;
  CCriticalSection& operator=(const CCriticalSection&) = delete;

  void lock() noexcept { ::EnterCriticalSection(&section_); }
  void unlock() noexcept { ::LeaveCriticalSection(&section_); }

private:
  CRITICAL_SECTION section_;
};
