#include "failing_resume.h"

#include <atomic>

#include "worker/thread_resume.h"

namespace {

std::atomic<int> failuresLeft{0};
std::atomic<DWORD> failureError{0};

}  // namespace

void failNextResumes(int count, DWORD error) {
  failureError = error;
  failuresLeft = count;
}

bool resumeSuspendedThread(HANDLE thread) noexcept {
  if (failuresLeft > 0) {
    --failuresLeft;
    ::SetLastError(failureError);
    return false;
  }
  return ::ResumeThread(thread) != static_cast<DWORD>(-1);
}
