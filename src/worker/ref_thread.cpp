#include "worker/ref_thread.h"

#include <process.h>

#include <mutex>
#include <utility>

#include "app/exception.h"
#include "frame/failure_report.h"
#include "worker/messages.h"
#include "worker/thread_list.h"
#include "worker/thread_resume.h"

namespace {

// The result of a run that let an exception other than the stop signal
// escape: the thread still ends in order instead of taking the process down.
constexpr std::int32_t kEscapedExceptionResult = -1;

[[noreturn]] void throwSystemFailure(DWORD error) { throw XExceptionThread(XExceptionThread::SystemFailure, error); }

CScopedHandle newManualResetEvent() {
  CScopedHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!event) {
    throwSystemFailure(::GetLastError());
  }
  return event;
}

}  // namespace

XRefThread::XRefThread() : wakeEvent_(newManualResetEvent()) {}

XRefThread::~XRefThread() {
  if (flags() & Registered) {
    CThreadList::unlink(*this);
  }
  flushPendingWaits();
}

void XRefThread::start(StartRoutine routine, void* userData) {
  HANDLE created = nullptr;
  {
    const std::lock_guard<CCriticalSection> hold(lock_);
    if (threadHandle_) {
      throw XExceptionThread(XExceptionThread::AlreadyRunning);
    }
    unsigned id = 0;
    const std::uintptr_t handle = ::_beginthreadex(nullptr, 0, &threadProcedure, this, CREATE_SUSPENDED, &id);
    if (handle == 0) {
      throwSystemFailure(::GetLastError());
    }
    created = reinterpret_cast<HANDLE>(handle);
    threadHandle_.reset(created);
    threadId_.store(id);
    startRoutine_ = routine;
    userData_ = userData;
    flags_.fetch_and(~(Finished | UnwindingStop));
  }
  addRef();  // held by the running thread, given back when it ends
  if (!resumeSuspendedThread(created)) {
    const DWORD error = ::GetLastError();
    abandonSuspendedThread();
    throwSystemFailure(error);
  }
}

// A thread that could not be set running has run none of its code: it is
// ended where it stands, and the object gives back what the start took (the
// handle, the id, the running thread's reference), so that it can be started
// again.
void XRefThread::abandonSuspendedThread() noexcept {
  {
    const std::lock_guard<CCriticalSection> hold(lock_);
    if (::TerminateThread(threadHandle_.get(), 0)) {
      ::WaitForSingleObject(threadHandle_.get(), INFINITE);
    }
    forgetThread();
  }
  release();  // the caller of start holds its own reference: never the last
}

void XRefThread::forgetThread() noexcept {
  threadHandle_.reset();
  threadId_.store(0);
  startRoutine_ = nullptr;
  userData_ = nullptr;
}

unsigned __stdcall XRefThread::threadProcedure(void* argument) {
  XRefThread& self = *static_cast<XRefThread*>(argument);
  self.runToEnd();
  const std::int32_t result = self.result();
  self.release();  // may destroy the object
  return static_cast<unsigned>(result);
}

void XRefThread::runToEnd() {
  if (!(flags_.fetch_or(Registered) & Registered)) {
    CThreadList::link(*this);
  }
  result_.store(0);
  try {
    result_.store(run());
  } catch (const XExceptionThreadTerminated&) {
    // A stop from inside: the result keeps the exit code given to it.
  } catch (...) {
    result_.store(kEscapedExceptionResult);
    reportEscapedFailure();
  }
  {
    // The thread counts as gone before anybody waiting for it wakes up, so
    // that a waiter may start it again at once.
    const std::lock_guard<CCriticalSection> hold(lock_);
    forgetThread();
    flags_.fetch_or(Finished);
  }
  flushPendingWaits();
}

// Called inside the catch handler of the thread procedure.  The report goes
// out before the waiters wake: whoever waits for the end finds it queued.
void XRefThread::reportEscapedFailure() noexcept {
  const HWND window = reportWindow();
  if (!window) {
    return;
  }
  try {
    XMessageError::post(window, makeRef<XMessageError::CMessage>(frame::currentFailureText()));
  } catch (...) {
    // Not even the report could be made (no memory left): the thread still
    // ends, and its waiters still wake.
  }
}

std::int32_t XRefThread::run() {
  if (!startRoutine_) {
    return 0;
  }
  return startRoutine_(*this, userData_, 0, 0);
}

bool XRefThread::stop(std::int32_t exitCode) {
  result_.store(exitCode);
  flags_.fetch_or(StopRequested);
  if (threadId_.load() == 0) {
    return false;
  }
  if (runningThreadIsCaller() && !(flags_.fetch_or(UnwindingStop) & UnwindingStop)) {
    throw XExceptionThreadTerminated{};
  }
  closeNetworkHandle();
  ::SetEvent(wakeEvent_.get());
  return true;
}

void XRefThread::checkStop() {
  if (stopRequested()) {
    stop(0);
  }
}

void XRefThread::pause(DWORD milliseconds) {
  checkStop();
  ::WaitForSingleObject(wakeEvent_.get(), milliseconds);
  checkStop();
}

XRefThread* XRefThread::current() { return CThreadList::find(::GetCurrentThreadId()); }

void XRefThread::addPendingWait(TRefPtr<CBaseRefObject> object, HANDLE event) {
  CScopedHandle own;
  const HANDLE process = ::GetCurrentProcess();
  if (!::DuplicateHandle(process, event, process, own.receive(), 0, FALSE, DUPLICATE_SAME_ACCESS)) {
    throwSystemFailure(::GetLastError());
  }
  {
    const std::lock_guard<CCriticalSection> hold(lock_);
    if (!(flags() & Finished)) {
      pendingWaits_.push_back(CPendingWait{std::move(object), std::move(own)});
      return;
    }
  }
  object.reset();
  ::SetEvent(own.get());
}

bool XRefThread::waitForEnd(DWORD milliseconds) {
  {
    const std::lock_guard<CCriticalSection> hold(lock_);
    if (!threadHandle_) {
      return true;
    }
  }
  const CScopedHandle ended = newManualResetEvent();
  addPendingWait(nullptr, ended.get());
  return ::WaitForSingleObject(ended.get(), milliseconds) == WAIT_OBJECT_0;
}

void XRefThread::flushPendingWaits() {
  std::vector<CPendingWait> taken;
  {
    const std::lock_guard<CCriticalSection> hold(lock_);
    taken.swap(pendingWaits_);
  }
  // Released outside the lock: an object's destructor may take other locks.
  for (CPendingWait& wait : taken) {
    wait.object.reset();
    ::SetEvent(wait.event.get());
  }
}

void XRefThread::registerNetworkHandle(HINTERNET handle) {
  networkHandle_.store(handle);
  // A stop that came before the handle was known found nothing to close.
  if (stopRequested()) {
    closeNetworkHandle();
  }
}

HINTERNET XRefThread::unregisterNetworkHandle() noexcept { return networkHandle_.exchange(nullptr); }

void XRefThread::closeNetworkHandle() noexcept {
  // Whoever takes the handle out of the slot closes it, exactly once.
  if (HINTERNET handle = networkHandle_.exchange(nullptr)) {
    handle_traits::Internet::close(handle);
  }
}

CNetworkCallGuard::CNetworkCallGuard(CScopedInternet& handle) : handle_(handle), thread_(XRefThread::current()) {
  if (thread_) {
    thread_->registerNetworkHandle(handle_.get());
  }
}

CNetworkCallGuard::~CNetworkCallGuard() {
  if (thread_ && thread_->unregisterNetworkHandle() == nullptr) {
    handle_.release();  // closed by a stop request
  }
}
