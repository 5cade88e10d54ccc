// A worker whose thread cannot be set running: the start fails with the
// system's reason and gives back everything it took, so that the object can
// be started again.  The system's resume is replaced (failing_resume.cpp).
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

#include "app/exception.h"
#include "base/scoped_handle.h"
#include "failing_resume.h"
#include "worker/ref_thread.h"

namespace {

constexpr DWORD kLimitMs = 10000;

struct CRuns {
  std::atomic<int> count{0};
};

std::int32_t countRun(XRefThread&, void* userData, std::uint64_t, std::uint64_t) {
  ++static_cast<CRuns*>(userData)->count;
  return 5;
}

// Signals its destruction: the proof that no reference was left behind.
class CWatchedThread : public XRefThread {
public:
  explicit CWatchedThread(HANDLE destroyed) : destroyed_(destroyed) {}
  ~CWatchedThread() override { ::SetEvent(destroyed_); }

private:
  HANDLE destroyed_;
};

TEST(XRefThreadResume, AFailedResumeGivesBackTheHandleAndTheReferenceAndTheObjectStartsAgain) {
  const CScopedHandle destroyed(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  CRuns runs;
  TRefPtr<CWatchedThread> thread = makeRef<CWatchedThread>(destroyed.get());

  failNextResumes(1, ERROR_ACCESS_DENIED);
  try {
    thread->start(&countRun, &runs);
    ADD_FAILURE() << "the start did not fail";
  } catch (const XExceptionThread& failure) {
    EXPECT_EQ(failure.reason(), XExceptionThread::SystemFailure);
    EXPECT_EQ(failure.errorCode(), static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(failure.getText(), systemErrorText(ERROR_ACCESS_DENIED));
  }
  // No thread is left: nothing to wait for, and the routine never ran.
  EXPECT_TRUE(thread->waitForEnd(0));
  EXPECT_EQ(runs.count.load(), 0);

  thread->start(&countRun, &runs);
  ASSERT_TRUE(thread->waitForEnd(kLimitMs));
  EXPECT_EQ(runs.count.load(), 1);
  EXPECT_EQ(thread->result(), 5);

  // Once the running thread has let go of its own, the creator's reference
  // is the last one.
  thread.reset();
  EXPECT_EQ(::WaitForSingleObject(destroyed.get(), kLimitMs), WAIT_OBJECT_0) << "a reference was left behind";
}

}  // namespace
