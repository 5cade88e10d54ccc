// Worker threads of the setup.
//
// Every long operation runs on an XRefThread while the interface shows a wait
// dialog.  The object is reference-counted: its creator holds one reference
// and the running thread another, so either may let go first.  A stop request
// sets a flag, signals the wake event that ends the worker's timed waits and
// closes the network handle the worker is blocked on; from inside the worker
// it unwinds the run operation with XExceptionThreadTerminated.
//
// The thread procedure is the worker's error boundary: a failure that leaves
// the run operation unreported ends the thread in order and reaches the
// worker's report window as an error payload (frame/failure_report.h).
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <vector>

#include "base/ref_object.h"
#include "base/ref_ptr.h"
#include "base/scoped_handle.h"
#include "frame/inet_api.h"
#include "worker/critical_section.h"

class CThreadList;

class XRefThread : public CBaseRefObject {
public:
  // Called by the default run operation with the thread, the user data and
  // two arguments that are always 0.
  using StartRoutine = std::int32_t (*)(XRefThread& thread, void* userData, std::uint64_t, std::uint64_t);

  enum Flag : std::uint32_t {
    StopRequested = 1u << 0,
    Finished = 1u << 1,
    Registered = 1u << 2,  // linked into the global thread list
    UnwindingStop = 1u << 3,
  };

  // Throws XExceptionThread with the system's error code when the wake event
  // cannot be made.
  XRefThread();
  ~XRefThread() override;

  // Starts the thread.  Throws XExceptionThread: "Target thread is already
  // running" while a thread exists, or the system's reason when none can be
  // created or set running; the object may then be started again.
  void start(StartRoutine routine = nullptr, void* userData = nullptr);

  // The window the worker reports to.  An exception that leaves the run
  // operation is posted to it as an error payload: a family member with its
  // own text, anything else with the application's fixed text.  Either way
  // the result is -1; without a window nobody else is told.
  void setReportWindow(HWND window) noexcept { reportWindow_.store(window); }
  HWND reportWindow() const noexcept { return reportWindow_.load(); }

  // Asks the thread to end with the exit code.  From inside the worker this
  // throws XExceptionThreadTerminated (once: a stop made while unwinding only
  // records the code).  From anywhere else it closes the registered network
  // handle and signals the wake event.  False when no thread exists (the code
  // and the flag are still recorded).
  virtual bool stop(std::int32_t exitCode);

  // The work.  The default calls the start routine; without one it returns 0.
  virtual std::int32_t run();

  // From inside the worker: unwinds it when a stop has been requested.
  void checkStop();
  // From inside the worker: check-stop, wait up to the time on the wake event
  // (a stop request ends the wait early), check-stop again.
  void pause(DWORD milliseconds);

  // The object of the calling thread, or null when the caller is not a worker.
  // It lives at least as long as the calling thread runs.
  static XRefThread* current();

  std::uint32_t flags() const noexcept { return flags_.load(); }
  bool stopRequested() const noexcept { return (flags() & StopRequested) != 0; }
  bool finished() const noexcept { return (flags() & Finished) != 0; }
  // The run operation's result, or the exit code given to a stop request.
  std::int32_t result() const noexcept { return result_.load(); }
  HANDLE wakeEvent() const noexcept { return wakeEvent_.get(); }

  // Keeps the object alive and signals the event when the thread ends (at once
  // when it has already ended).  The event is duplicated: the caller may close
  // its own handle whenever it likes.  Throws XExceptionThread when the
  // handle cannot be duplicated.
  void addPendingWait(TRefPtr<CBaseRefObject> object, HANDLE event);
  // Waits until the running thread has ended, through the pending-wait list;
  // true when it ended in time (or was not running).
  bool waitForEnd(DWORD milliseconds);

  // The network handle the worker is about to block on; a stop request from
  // another thread closes it so that the blocking call fails at once.  A stop
  // requested before the registration closes it right away.
  void registerNetworkHandle(HINTERNET handle);
  // Takes the handle back: the same handle, or null when a stop request has
  // closed it in the meantime.
  HINTERNET unregisterNetworkHandle() noexcept;

private:
  friend class CThreadList;

  struct CPendingWait {
    TRefPtr<CBaseRefObject> object;
    CScopedHandle event;
  };

  static unsigned __stdcall threadProcedure(void* argument);
  void abandonSuspendedThread() noexcept;
  // Under lock_: the object has no thread any more.
  void forgetThread() noexcept;
  void runToEnd();
  void reportEscapedFailure() noexcept;
  void flushPendingWaits();
  void closeNetworkHandle() noexcept;
  bool runningThreadIsCaller() const noexcept { return threadId_.load() == ::GetCurrentThreadId(); }

  std::atomic<HINTERNET> networkHandle_{nullptr};
  std::atomic<HWND> reportWindow_{nullptr};
  CScopedHandle threadHandle_;  // under lock_
  std::atomic<std::uint32_t> threadId_{0};
  StartRoutine startRoutine_ = nullptr;
  void* userData_ = nullptr;
  std::atomic<std::int32_t> result_{0};
  // Guards the pending-wait list and the thread handle; never held together
  // with the lock of the global thread list.
  CCriticalSection lock_;
  std::vector<CPendingWait> pendingWaits_;
  std::atomic<std::uint32_t> flags_{0};
  CScopedHandle wakeEvent_;
  XRefThread* prevInList_ = nullptr;
  XRefThread* nextInList_ = nullptr;
};

// Lends the thread of the caller (when it is a worker) the network handle of
// one blocking call for the guard's lifetime.  When a stop request has closed
// the handle meanwhile, its owner forgets it instead of closing it twice.
class CNetworkCallGuard {
public:
  explicit CNetworkCallGuard(CScopedInternet& handle);
  ~CNetworkCallGuard();
  CNetworkCallGuard(const CNetworkCallGuard&) = delete;
  CNetworkCallGuard& operator=(const CNetworkCallGuard&) = delete;

private:
  CScopedInternet& handle_;
  XRefThread* thread_;
};
