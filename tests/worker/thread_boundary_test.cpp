// The worker's error boundary: an exception that leaves a worker's run ends
// the thread in order, wakes whoever waits for it, and reaches the worker's
// window as an error payload.
#include <gtest/gtest.h>
#include <windows.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/exception.h"
#include "base/scoped_handle.h"
#include "frame/failure_report.h"
#include "frame/win_app.h"
#include "worker/envelope_window.h"
#include "worker/messages.h"
#include "worker/ref_thread.h"

namespace {

constexpr DWORD kLimitMs = 10000;  // far beyond any of these threads' work
constexpr std::chrono::milliseconds kReportLimit{10000};

using Routine = XRefThread::StartRoutine;

// A window that keeps the texts of the error payloads it gets, and notes the
// progress payload the test posts as a marker behind everything else.
class CReportWindow {
public:
  CReportWindow()
      : window_([this](XRefMessage& message) -> LRESULT {
          if (const auto error = XMessageError::payloadOf(message)) {
            errors.push_back(error->text);
          } else if (XMessageProgress::is(message)) {
            markerArrived = true;
          }
          return 1;
        }) {}

  HWND handle() const { return window_.handle(); }

  // Everything posted before this call has been handled when it answers true.
  bool drain() {
    XMessageProgress::post(handle(), makeRef<XMessageProgress::CMessage>(0, 0));
    return pumpMessagesUntil([this] { return markerArrived; }, kReportLimit);
  }

  std::vector<std::wstring> errors;
  bool markerArrived = false;

private:
  CEnvelopeWindow window_;
};

// Starts the routine on a new worker that reports to the window, and waits
// for its end through a pending wait, as a wait dialog bound to it does.
TRefPtr<XRefThread> runToEnd(Routine routine, HWND window) {
  TRefPtr<XRefThread> thread = makeRef<XRefThread>();
  thread->setReportWindow(window);
  const CScopedHandle ended(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  thread->addPendingWait(nullptr, ended.get());
  thread->start(routine);
  EXPECT_EQ(::WaitForSingleObject(ended.get(), kLimitMs), WAIT_OBJECT_0) << "the waiter was not woken";
  return thread;
}

TEST(WorkerBoundary, AnEscapedExceptionWakesTheWaiterAndItsTextReachesTheWindow) {
  struct CCase {
    const char* name;
    Routine routine;
    std::wstring text;
  };
  const CCase cases[] = {
      {"a member of the family",
       [](XRefThread&, void*, std::uint64_t, std::uint64_t) -> std::int32_t {
         throw XExceptionGeneral(L"The disk went away");
       },
       L"The disk went away"},
      {"a standard exception",
       [](XRefThread&, void*, std::uint64_t, std::uint64_t) -> std::int32_t {
         throw std::runtime_error("not caught by the worker");
       },
       frame::kUnexpectedFailureText},
      {"no exception class at all",
       [](XRefThread&, void*, std::uint64_t, std::uint64_t) -> std::int32_t { throw 7; },
       frame::kUnexpectedFailureText},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.name);
    CReportWindow window;
    const TRefPtr<XRefThread> thread = runToEnd(c.routine, window.handle());
    EXPECT_TRUE(thread->finished());
    EXPECT_EQ(thread->result(), -1);
    ASSERT_TRUE(window.drain());
    EXPECT_EQ(window.errors, std::vector<std::wstring>{c.text});
  }
}

TEST(WorkerBoundary, TheApplicationsOwnTextServesForAFailureOutsideTheFamily) {
  frame::CWinApp app;
  app.setUnexpectedFailureText(L"Something unforeseen happened");
  CReportWindow window;
  runToEnd([](XRefThread&, void*, std::uint64_t, std::uint64_t) -> std::int32_t { throw std::bad_alloc(); },
           window.handle());
  ASSERT_TRUE(window.drain());
  EXPECT_EQ(window.errors, std::vector<std::wstring>{L"Something unforeseen happened"});
}

TEST(WorkerBoundary, AnOrderlyEndOrAStopReportsNothing) {
  const Routine routines[] = {
      [](XRefThread&, void*, std::uint64_t, std::uint64_t) -> std::int32_t { return 3; },
      [](XRefThread& self, void*, std::uint64_t, std::uint64_t) -> std::int32_t {
        self.stop(9);
        return 1;
      },
  };
  for (const Routine routine : routines) {
    CReportWindow window;
    const TRefPtr<XRefThread> thread = runToEnd(routine, window.handle());
    EXPECT_NE(thread->result(), -1);
    ASSERT_TRUE(window.drain());
    EXPECT_EQ(window.errors, std::vector<std::wstring>{});
  }
}

}  // namespace
