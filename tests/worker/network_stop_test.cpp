// A stop from outside while the worker blocks in a network call: the call
// must fail at once, not when the server or a time-out lets it go.  The
// server here is a local listener that accepts and never answers.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "base/scoped_handle.h"
#include "frame/inet_api.h"
#include "support/loopback_listener.h"
#include "support/polling.h"
#include "worker/network_call.h"
#include "worker/ref_thread.h"

namespace {

constexpr DWORD kLimit = 10000;

CScopedHandle newEvent() { return CScopedHandle(::CreateEventW(nullptr, TRUE, FALSE, nullptr)); }

// Sends one GET to the server and records how it ended.
class CRequestThread : public XRefThread {
public:
  explicit CRequestThread(std::uint16_t port) : port_(port) {}

  std::int32_t run() override {
    const inet::CApi& api = inet::api();
    CScopedInternet session(api.InternetOpenW(L"Brantel test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    CScopedInternet connection(
        api.InternetConnectW(session.get(), L"127.0.0.1", port_, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    CScopedInternet request(api.HttpOpenRequestW(connection.get(), L"GET", L"/", nullptr, nullptr, nullptr,
                                                 INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0));
    if (!request) {
      return 1;
    }
    // Without the stop, only this would end the wait: ten minutes.
    DWORD timeout = 10 * 60 * 1000;
    api.InternetSetOptionW(request.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof(timeout));
    api.InternetSetOptionW(request.get(), INTERNET_OPTION_SEND_TIMEOUT, &timeout, sizeof(timeout));
    const auto callEnded = lingeringCallEnded;
    const BOOL ok = interruptibleNetworkCall(request, [&api, callEnded, handle = request.get()] {
      const BOOL answer = api.HttpSendRequestW(handle, nullptr, 0, nullptr, 0);
      *callEnded = true;
      return answer;
    });
    error = ::GetLastError();
    sent = ok != FALSE;
    handleForgotten = !request;
    return 2;
  }

  // Set by the call itself, which may end only after the worker.
  std::shared_ptr<std::atomic<bool>> lingeringCallEnded = std::make_shared<std::atomic<bool>>(false);
  std::atomic<bool> sent{true};
  std::atomic<DWORD> error{0};
  std::atomic<bool> handleForgotten{false};

private:
  std::uint16_t port_;
};

TEST(XRefThreadNetwork, AStopFromOutsideEndsABlockingRequestAtOnce) {
  ASSERT_TRUE(inet::api().complete());
  auto server = std::make_unique<CSilentListener>();
  ASSERT_NE(server->port(), 0);
  const auto thread = makeRef<CRequestThread>(server->port());
  thread->start();

  // Once the server has the connection the worker is inside the request; it
  // stays blocked there, since the server never answers.
  ASSERT_TRUE(server->waitConnected(kLimit));
  EXPECT_FALSE(thread->waitForEnd(500));

  EXPECT_TRUE(thread->stop(0));
  // Without the stop the request would wait ten minutes; the cancelled
  // error shows it was the stop that ended it.
  ASSERT_TRUE(thread->waitForEnd(kLimit)) << "the blocking request did not end";
  EXPECT_EQ(thread->result(), 2);
  EXPECT_FALSE(thread->sent);
  EXPECT_EQ(thread->error, static_cast<DWORD>(ERROR_INTERNET_OPERATION_CANCELLED));
  EXPECT_TRUE(thread->handleForgotten);  // closed by the stop, not twice

  // Whatever of the call the network library still holds ends with the
  // connection; nothing stays blocked for good.
  const auto callEnded = thread->lingeringCallEnded;
  server.reset();
  EXPECT_TRUE(ui::pollUntil(kLimit, [&callEnded] { return callEnded->load(); }));
}

TEST(XRefThreadNetwork, OutsideAWorkerTheCallSimplyRuns) {
  CScopedInternet none;
  int calls = 0;
  EXPECT_TRUE(interruptibleNetworkCall(none, [&] {
    ++calls;
    return TRUE;
  }));
  EXPECT_EQ(calls, 1);
}

// Registers a handle, first without and then after a stop request.
class CRegisteringThread : public XRefThread {
public:
  std::int32_t run() override {
    const inet::CApi& api = inet::api();
    CScopedInternet first(api.InternetOpenW(L"Brantel test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    { const CNetworkCallGuard guard(first); }
    keptWithoutStop = first.valid();

    ::SetEvent(registered);
    ::WaitForSingleObject(go, kLimit);  // the stop arrives meanwhile

    CScopedInternet second(api.InternetOpenW(L"Brantel test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    hadSecond = second.valid();
    { const CNetworkCallGuard guard(second); }
    keptAfterStop = second.valid();
    return 0;
  }

  HANDLE registered = nullptr;
  HANDLE go = nullptr;
  std::atomic<bool> keptWithoutStop{false};
  std::atomic<bool> hadSecond{false};
  std::atomic<bool> keptAfterStop{true};
};

TEST(XRefThreadNetwork, AHandleRegisteredAfterAStopIsClosedAtOnce) {
  ASSERT_TRUE(inet::api().complete());
  const CScopedHandle registered = newEvent();
  const CScopedHandle go = newEvent();
  const auto thread = makeRef<CRegisteringThread>();
  thread->registered = registered.get();
  thread->go = go.get();
  thread->start();
  ASSERT_EQ(::WaitForSingleObject(registered.get(), kLimit), WAIT_OBJECT_0);
  thread->stop(0);
  ::SetEvent(go.get());
  ASSERT_TRUE(thread->waitForEnd(kLimit));

  EXPECT_TRUE(thread->keptWithoutStop);
  EXPECT_TRUE(thread->hadSecond);
  EXPECT_FALSE(thread->keptAfterStop);
}

}  // namespace
