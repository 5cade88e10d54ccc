// A blocking network call with a time limit of its own.
//
// The library's time-out options do not bound every wait: under Wine a
// server that accepts the connection and never answers the TLS greeting
// holds HttpSendRequest for good.  So the call runs on a helper thread, as
// worker/network_call.h does for stop requests, and the caller stops waiting
// when the time is up as well: a stop request of the calling worker fails the
// call with ERROR_INTERNET_OPERATION_CANCELLED, the end of the time with
// ERROR_INTERNET_TIMEOUT and the handle closed, so that what the library
// still does with it ends with the connection.  As there, the call must own
// (or hold references on) everything it touches.
#pragma once

#include <windows.h>

#include <utility>

#include "base/ref_ptr.h"
#include "base/scoped_handle.h"
#include "frame/inet_api.h"
#include "worker/network_call.h"
#include "worker/ref_thread.h"

// The end of a time limit shared by several calls.
class CDeadline {
public:
  explicit CDeadline(DWORD fromNowMs) : end_(::GetTickCount64() + fromNowMs) {}
  DWORD remainingMs() const {
    const ULONGLONG now = ::GetTickCount64();
    return now >= end_ ? 0 : static_cast<DWORD>(end_ - now);
  }

private:
  ULONGLONG end_;
};

namespace bounded_call_detail {

enum class Outcome { Ended, Stopped, TimedOut };

// Starts the helper and waits for its end, the worker's wake event (when the
// caller is a worker) or the end of the time.
Outcome waitForHelper(XRefThread& helper, XRefThread* worker, DWORD limitMs);

}  // namespace bounded_call_detail

template <class Call>
BOOL boundedNetworkCall(CScopedInternet& handle, DWORD limitMs, Call call) {
  {
    const CNetworkCallGuard registered(handle);
    XRefThread* worker = XRefThread::current();
    bounded_call_detail::Outcome outcome = bounded_call_detail::Outcome::Stopped;
    const auto helper = makeRef<network_call_detail::THelperThread<Call>>(std::move(call));
    if (!worker || !worker->stopRequested()) {
      outcome = bounded_call_detail::waitForHelper(*helper, worker, limitMs);
    }
    if (outcome == bounded_call_detail::Outcome::Ended) {
      return helper->outcome();
    }
    if (outcome == bounded_call_detail::Outcome::Stopped) {
      ::SetLastError(ERROR_INTERNET_OPERATION_CANCELLED);
      return FALSE;
    }
  }
  // Closed only once the worker has let go of it, so never twice.
  handle.reset();
  ::SetLastError(ERROR_INTERNET_TIMEOUT);
  return FALSE;
}
