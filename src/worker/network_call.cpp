#include "worker/network_call.h"

#include "app/exception.h"

namespace network_call_detail {

bool helperEndedFirst(XRefThread& helper, XRefThread& worker) {
  const CScopedHandle ended(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!ended) {
    throw XExceptionThread(XExceptionThread::SystemFailure, ::GetLastError());
  }
  helper.addPendingWait(nullptr, ended.get());
  helper.start();
  // The lower index wins when both are signalled: a call that has ended
  // counts, even when a stop came at the same moment.
  const HANDLE waits[] = {ended.get(), worker.wakeEvent()};
  return ::WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0;
}

}  // namespace network_call_detail
