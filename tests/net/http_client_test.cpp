// The client's refusals that need no server: only HTTPS addresses pass, a
// refused address makes no connection, a server that never answers ends the
// post in bounded time, and a stop ends a blocked post at once.
// The listener's socket header must come before anything includes windows.h.
#include "support/loopback_listener.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "base/ref_ptr.h"
#include "net/http_client.h"
#include "net/https_address.h"
#include "worker/ref_thread.h"

namespace {

// Longer than any of the client's own time limits.
constexpr DWORD kLimit = 3 * http::kPostLimitMs;
const std::string kBody = "a=version&p=00000000-0000-0000-0000-000000000000&k=";

std::wstring localAddress(const wchar_t* scheme, std::uint16_t port) {
  return std::wstring(scheme) + L"://127.0.0.1:" + std::to_wstring(port) + L"/setup/v1";
}

struct CAddressCase {
  const wchar_t* address;
  bool passes;
  const wchar_t* host;
  const wchar_t* object;
  INTERNET_PORT port;
};

TEST(HttpsAddress, OnlyHttpsAddressesWithAHostPass) {
  const CAddressCase cases[] = {
      {L"https://updates.brantel.test/setup/v1", true, L"updates.brantel.test", L"/setup/v1", 443},
      {L"HTTPS://Updates.Brantel.Test:8443/a/b?x=1", true, L"Updates.Brantel.Test", L"/a/b?x=1", 8443},
      {L"https://updates.brantel.test", true, L"updates.brantel.test", L"/", 443},
      {L"http://updates.brantel.test/setup/v1", false, L"", L"", 0},
      {L"ftp://updates.brantel.test/setup/v1", false, L"", L"", 0},
      {L"file:///C:/setup/v1", false, L"", L"", 0},
      {L"updates.brantel.test/setup/v1", false, L"", L"", 0},
      {L"https://", false, L"", L"", 0},
      {L"", false, L"", L"", 0},
  };
  for (const CAddressCase& c : cases) {
    const auto split = splitHttpsAddress(c.address);
    ASSERT_EQ(split.has_value(), c.passes) << c.address;
    if (split) {
      EXPECT_EQ(split->host, c.host) << c.address;
      EXPECT_EQ(split->object, c.object) << c.address;
      EXPECT_EQ(split->port, c.port) << c.address;
    }
  }
}

TEST(HttpClient, AnAddressThatIsNotHttpsIsRefusedWithoutAConnection) {
  CSilentListener listener;
  ASSERT_NE(listener.port(), 0);
  EXPECT_FALSE(http::PostForm(localAddress(L"http", listener.port()), kBody));
  EXPECT_FALSE(http::PostForm(L"not an address", kBody));
  EXPECT_FALSE(listener.waitConnected(1000));
  EXPECT_EQ(listener.connections(), 0);
}

TEST(HttpClient, AServerThatAcceptsAndNeverAnswersEndsThePostInBoundedTime) {
  CSilentListener listener;
  ASSERT_NE(listener.port(), 0);
  // No answer, not even to the TLS greeting, which the library's receive
  // time-out does not bound under Wine: the post's own limit ends it (the
  // entry's time limit would end a hang).
  EXPECT_FALSE(http::PostForm(localAddress(L"https", listener.port()), kBody));
  EXPECT_GE(listener.connections(), 1);
}

// Posts once and records the outcome.
class CPostThread : public XRefThread {
public:
  explicit CPostThread(std::wstring address) : address_(std::move(address)) {}
  std::int32_t run() override {
    answered = static_cast<bool>(http::PostForm(address_, kBody));
    return 7;
  }
  std::atomic<bool> answered{true};

private:
  std::wstring address_;
};

TEST(HttpClient, AStopWhileThePostBlocksEndsItAtOnce) {
  CSilentListener listener;
  ASSERT_NE(listener.port(), 0);
  const auto thread = makeRef<CPostThread>(localAddress(L"https", listener.port()));
  thread->start();
  ASSERT_TRUE(listener.waitConnected(kLimit));
  EXPECT_TRUE(thread->stop(0));
  // Well inside the post's own limit, which alone would end it otherwise.
  ASSERT_TRUE(thread->waitForEnd(http::kPostLimitMs / 2)) << "the stop did not end the post";
  EXPECT_EQ(thread->result(), 7);  // PostForm returned: a stop is an empty answer, not an escape
  EXPECT_FALSE(thread->answered);
}

}  // namespace
