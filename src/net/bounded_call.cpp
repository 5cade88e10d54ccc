#include "net/bounded_call.h"

#include "app/exception.h"

namespace bounded_call_detail {

Outcome waitForHelper(XRefThread& helper, XRefThread* worker, DWORD limitMs) {
  const CScopedHandle ended(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!ended) {
    throw XExceptionThread(XExceptionThread::SystemFailure, ::GetLastError());
  }
  helper.addPendingWait(nullptr, ended.get());
  helper.start();
  // The lower index wins when both are signalled: a call that has ended
  // counts, even when a stop came at the same moment.
  const HANDLE waits[] = {ended.get(), worker ? worker->wakeEvent() : nullptr};
  switch (::WaitForMultipleObjects(worker ? 2 : 1, waits, FALSE, limitMs)) {
    case WAIT_OBJECT_0:
      return Outcome::Ended;
    case WAIT_TIMEOUT:
      return Outcome::TimedOut;
    default:
      return Outcome::Stopped;
  }
}

}  // namespace bounded_call_detail
