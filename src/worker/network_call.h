// A blocking network call that a stop request ends at once.
//
// A stop from another thread closes the handle the worker registered; on
// Windows that alone makes the blocking call return.  The network library
// may, however, finish a call it is already inside only when the server or a
// time-out lets go (Wine's does).  So the call runs on a helper thread and the
// worker waits for either the call or its own wake event: on a stop the
// worker gets a failure at once, and the helper finishes on its own later.
// That is why the call must own, or hold references on, everything it
// touches (buffers, texts): it may outlive the worker's frame.
#pragma once

#include <windows.h>

#include <utility>

#include "base/ref_ptr.h"
#include "base/scoped_handle.h"
#include "frame/inet_api.h"
#include "worker/ref_thread.h"

namespace network_call_detail {

// The helper: runs the call once and keeps its outcome.
template <class Call>
class THelperThread : public XRefThread {
public:
  explicit THelperThread(Call call) : call_(std::move(call)) {}
  std::int32_t run() override {
    succeeded_ = call_() != FALSE;
    error_ = ::GetLastError();
    return 0;
  }
  BOOL outcome() const {
    ::SetLastError(error_);
    return succeeded_ ? TRUE : FALSE;
  }

private:
  Call call_;
  bool succeeded_ = false;
  DWORD error_ = 0;
};

// Waits for the helper's end or the worker's wake event; true when the
// helper ended first.
bool helperEndedFirst(XRefThread& helper, XRefThread& worker);

}  // namespace network_call_detail

// Registers the handle with the calling worker and runs call() (returning
// BOOL, with the error in the thread's last error) so that a stop request
// makes it fail at once with ERROR_INTERNET_OPERATION_CANCELLED.  Outside a
// worker the call simply runs.  Throws XExceptionThread when no helper can be
// started.
template <class Call>
BOOL interruptibleNetworkCall(CScopedInternet& handle, Call call) {
  XRefThread* worker = XRefThread::current();
  if (!worker) {
    return call();
  }
  const CNetworkCallGuard registered(handle);
  if (!worker->stopRequested()) {
    const auto helper = makeRef<network_call_detail::THelperThread<Call>>(std::move(call));
    if (network_call_detail::helperEndedFirst(*helper, *worker)) {
      return helper->outcome();
    }
  }
  ::SetLastError(ERROR_INTERNET_OPERATION_CANCELLED);
  return FALSE;
}
