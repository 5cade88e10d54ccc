// Worker threads: start, the stop from inside and from outside, the end of a
// thread and who is told about it.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <stdexcept>

#include "app/exception.h"
#include "base/scoped_handle.h"
#include "worker/ref_thread.h"

namespace {

constexpr DWORD kLimit = 10000;  // far beyond any of these threads' work

CScopedHandle newEvent() { return CScopedHandle(::CreateEventW(nullptr, TRUE, FALSE, nullptr)); }

bool isSignalled(HANDLE event) { return ::WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }

// A worker whose run is given as a function; it signals when it is destroyed.
class CScriptedThread : public XRefThread {
public:
  using Script = std::int32_t (*)(CScriptedThread&);
  explicit CScriptedThread(Script script) : script_(script) {}
  ~CScriptedThread() override {
    if (destroyedSignal) {
      ::SetEvent(destroyedSignal);
    }
  }
  std::int32_t run() override { return script_(*this); }

  HANDLE go = nullptr;         // what the script waits for, when it waits
  HANDLE entered = nullptr;    // signalled by the script once it runs
  HANDLE destroyedSignal = nullptr;
  std::atomic<bool> reachedEnd{false};
  std::atomic<bool> cleanedUp{false};
  std::atomic<bool> secondStopAnswer{false};

private:
  Script script_;
};

// Signals cleaned-up from its destructor, as the worker unwinds.
struct CCleanup {
  explicit CCleanup(CScriptedThread& t) : thread(t) {}
  ~CCleanup() { thread.cleanedUp = true; }
  CScriptedThread& thread;
};

struct CRoutineSeen {
  XRefThread* thread = nullptr;
  XRefThread* current = nullptr;
  std::uint64_t first = 1;
  std::uint64_t second = 1;
  int calls = 0;
};

std::int32_t recordingRoutine(XRefThread& thread, void* userData, std::uint64_t a, std::uint64_t b) {
  auto& seen = *static_cast<CRoutineSeen*>(userData);
  seen.thread = &thread;
  seen.current = XRefThread::current();
  seen.first = a;
  seen.second = b;
  return 40 + ++seen.calls;
}

TEST(XRefThreadRun, TheStartRoutineGetsTheThreadAndUserDataAndItsResultIsKept) {
  const TRefPtr<XRefThread> thread = makeRef<XRefThread>();
  CRoutineSeen seen;
  thread->start(&recordingRoutine, &seen);
  ASSERT_TRUE(thread->waitForEnd(kLimit));

  EXPECT_EQ(seen.thread, thread.get());
  EXPECT_EQ(seen.current, thread.get());
  EXPECT_EQ(seen.first, 0u);
  EXPECT_EQ(seen.second, 0u);
  EXPECT_EQ(thread->result(), 41);
  EXPECT_TRUE(thread->finished());
  EXPECT_EQ(XRefThread::current(), nullptr);  // this thread is no worker

  // An ended thread may be started again at once.
  thread->start(&recordingRoutine, &seen);
  ASSERT_TRUE(thread->waitForEnd(kLimit));
  EXPECT_EQ(thread->result(), 42);
}

TEST(XRefThreadRun, StartingARunningThreadThrowsAndLeavesItRunning) {
  const CScopedHandle go = newEvent();
  const auto thread = makeRef<CScriptedThread>([](CScriptedThread& self) -> std::int32_t {
    ::WaitForSingleObject(self.go, kLimit);
    return 7;
  });
  thread->go = go.get();
  thread->start();

  try {
    thread->start();
    ADD_FAILURE() << "a second start did not throw";
  } catch (const XExceptionThread& e) {
    EXPECT_EQ(e.reason(), XExceptionThread::AlreadyRunning);
    EXPECT_EQ(e.getText(), L"Target thread is already running");
  }
  EXPECT_FALSE(thread->finished());

  ::SetEvent(go.get());
  ASSERT_TRUE(thread->waitForEnd(kLimit));
  EXPECT_EQ(thread->result(), 7);
}

TEST(XRefThreadRun, AnExceptionEscapingRunEndsTheThreadInOrder) {
  const auto thread = makeRef<CScriptedThread>([](CScriptedThread&) -> std::int32_t {
    throw std::runtime_error("not caught by the worker");
  });
  thread->start();
  ASSERT_TRUE(thread->waitForEnd(kLimit));
  EXPECT_TRUE(thread->finished());
  EXPECT_EQ(thread->result(), -1);
}

TEST(XRefThreadStop, AStopFromInsideUnwindsTheWorkerWithItsExitCode) {
  const auto thread = makeRef<CScriptedThread>([](CScriptedThread& self) -> std::int32_t {
    CCleanup cleanup(self);
    self.stop(17);
    self.reachedEnd = true;
    return 1;
  });
  thread->start();
  ASSERT_TRUE(thread->waitForEnd(kLimit));

  EXPECT_EQ(thread->result(), 17);
  EXPECT_TRUE(thread->cleanedUp);
  EXPECT_FALSE(thread->reachedEnd);
  EXPECT_TRUE(thread->stopRequested());
  EXPECT_TRUE(thread->flags() & XRefThread::UnwindingStop);
}

TEST(XRefThreadStop, AStopWhileUnwindingOnlyRecordsItsCode) {
  // A second stop during the unwinding would, if it threw, leave a destructor
  // and end the process.
  struct CStopsAgain {
    explicit CStopsAgain(CScriptedThread& t) : thread(t) {}
    ~CStopsAgain() { thread.secondStopAnswer = thread.stop(23); }
    CScriptedThread& thread;
  };
  const auto thread = makeRef<CScriptedThread>([](CScriptedThread& self) -> std::int32_t {
    CStopsAgain again(self);
    self.checkStop();  // nothing requested yet: goes on
    self.stop(5);
    return 1;
  });
  thread->start();
  ASSERT_TRUE(thread->waitForEnd(kLimit));
  EXPECT_TRUE(thread->secondStopAnswer);
  EXPECT_EQ(thread->result(), 23);
}

TEST(XRefThreadStop, AStopFromOutsideEndsATimedWaitAtOnce) {
  const CScopedHandle entered = newEvent();
  const auto thread = makeRef<CScriptedThread>([](CScriptedThread& self) -> std::int32_t {
    ::SetEvent(self.entered);
    self.pause(10 * 60 * 1000);
    self.reachedEnd = true;
    return 1;
  });
  thread->entered = entered.get();
  thread->start();
  ASSERT_EQ(::WaitForSingleObject(entered.get(), kLimit), WAIT_OBJECT_0);

  EXPECT_TRUE(thread->stop(5));
  ASSERT_TRUE(thread->waitForEnd(5000));
  EXPECT_TRUE(isSignalled(thread->wakeEvent()));
  EXPECT_FALSE(thread->reachedEnd);
  EXPECT_EQ(thread->result(), 0);  // the worker's own check-stop stops with 0
}

TEST(XRefThreadStop, AStopBeforeStartIsRecordedAndTakesEffectAtTheFirstCheck) {
  const auto thread = makeRef<CScriptedThread>([](CScriptedThread& self) -> std::int32_t {
    self.checkStop();
    self.reachedEnd = true;
    return 1;
  });
  EXPECT_FALSE(thread->stop(9));
  EXPECT_TRUE(thread->stopRequested());
  EXPECT_EQ(thread->result(), 9);
  EXPECT_FALSE(isSignalled(thread->wakeEvent()));

  thread->start();
  ASSERT_TRUE(thread->waitForEnd(kLimit));
  EXPECT_FALSE(thread->reachedEnd);
  EXPECT_TRUE(thread->finished());
}

// An object that counts its destruction, to be kept alive by a pending wait.
struct CKept : CBaseRefObject {
  explicit CKept(std::atomic<int>& d) : destroyed(d) {}
  ~CKept() override { ++destroyed; }
  std::atomic<int>& destroyed;
};

TEST(XRefThreadEnd, PendingWaitsAreReleasedAndSignalledWhenTheThreadEnds) {
  const CScopedHandle go = newEvent();
  const auto thread = makeRef<CScriptedThread>([](CScriptedThread& self) -> std::int32_t {
    ::WaitForSingleObject(self.go, kLimit);
    return 0;
  });
  thread->go = go.get();
  thread->start();

  std::atomic<int> destroyed{0};
  const CScopedHandle first = newEvent();
  CScopedHandle second = newEvent();
  thread->addPendingWait(makeRef<CKept>(destroyed), first.get());
  thread->addPendingWait(nullptr, second.get());
  second.reset();  // the waiter may give up its own handle at any time
  EXPECT_EQ(destroyed, 0);
  EXPECT_FALSE(isSignalled(first.get()));

  ::SetEvent(go.get());
  ASSERT_EQ(::WaitForSingleObject(first.get(), kLimit), WAIT_OBJECT_0);
  EXPECT_EQ(destroyed, 1);
  EXPECT_TRUE(thread->finished());

  // After the end, a new wait is answered at once.
  const CScopedHandle late = newEvent();
  thread->addPendingWait(makeRef<CKept>(destroyed), late.get());
  EXPECT_TRUE(isSignalled(late.get()));
  EXPECT_EQ(destroyed, 2);
}

TEST(XRefThreadEnd, TheCreatorMayLetGoWhileTheThreadRuns) {
  const CScopedHandle go = newEvent();
  const CScopedHandle destroyed = newEvent();
  {
    const auto thread = makeRef<CScriptedThread>([](CScriptedThread& self) -> std::int32_t {
      ::WaitForSingleObject(self.go, kLimit);
      return 0;
    });
    thread->go = go.get();
    thread->destroyedSignal = destroyed.get();
    thread->start();
  }
  EXPECT_FALSE(isSignalled(destroyed.get()));  // the running thread holds it
  ::SetEvent(go.get());
  EXPECT_EQ(::WaitForSingleObject(destroyed.get(), kLimit), WAIT_OBJECT_0);
}

TEST(XRefThreadEnd, AThreadThatNeverRanSignalsItsWaitsWhenDestroyed) {
  std::atomic<int> destroyed{0};
  const CScopedHandle event = newEvent();
  {
    const TRefPtr<XRefThread> thread = makeRef<XRefThread>();
    EXPECT_TRUE(thread->waitForEnd(0));  // nothing runs
    thread->addPendingWait(makeRef<CKept>(destroyed), event.get());
    EXPECT_FALSE(isSignalled(event.get()));
  }
  EXPECT_TRUE(isSignalled(event.get()));
  EXPECT_EQ(destroyed, 1);
}

}  // namespace
