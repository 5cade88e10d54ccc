// WinINet, the way the program uses it, against the network sandbox that the
// client's tests run in (scripts/net-sandbox.sh): the real host name on the
// real port, with certificate checks and SNI.  Each suite is one ctest entry
// with a sandbox of its own; tests/net/CMakeLists.txt says which server each
// one gets.  This proves the sandbox, independently of the client in src/net.
#include <gtest/gtest.h>

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <future>
#include <string>
#include <string_view>
#include <thread>

#include "frame/inet_api.h"

namespace {

constexpr wchar_t kHost[] = L"updates.brantel.test";
constexpr wchar_t kPath[] = L"/setup/v1";
constexpr char kProduct[] = "5B0C1D2E-3F40-4A5B-8C6D-7E8F90A1B2C3";
constexpr DWORD kBodyCap = 1 << 20;

struct CExchange {
  bool sent = false;
  DWORD error = ERROR_SUCCESS;  // of the send, when it failed
  DWORD status = 0;
  DWORD announcedLength = 0;
  bool readFailed = false;
  std::string body;
};

// Wine takes the time-outs of a request from the request handle itself.
void setTimeouts(HINTERNET handle, DWORD timeoutMs) {
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT}) {
    inet::api().InternetSetOptionW(handle, option, &timeoutMs, sizeof timeoutMs);
  }
}

DWORD numberHeader(HINTERNET request, DWORD which) {
  DWORD value = 0;
  DWORD size = sizeof value;
  if (!inet::api().HttpQueryInfoW(request, which | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr)) {
    return 0;
  }
  return value;
}

void readBody(HINTERNET request, CExchange& exchange) {
  char buffer[4096];
  for (;;) {
    DWORD got = 0;
    if (!inet::api().InternetReadFile(request, buffer, sizeof buffer, &got)) {
      exchange.readFailed = true;
      return;
    }
    if (got == 0 || exchange.body.size() + got > kBodyCap) {
      return;
    }
    exchange.body.append(buffer, got);
  }
}

// One form post over HTTPS to kHost on port 443, as the program sends it.
CExchange post(std::string_view form, DWORD timeoutMs) {
  const inet::CApi& api = inet::api();
  CExchange exchange;
  CScopedInternet session(api.InternetOpenW(L"Brantel sandbox test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  if (!session) {
    exchange.error = GetLastError();
    return exchange;
  }
  setTimeouts(session.get(), timeoutMs);
  CScopedInternet connection(
      api.InternetConnectW(session.get(), kHost, INTERNET_DEFAULT_HTTPS_PORT, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) {
    exchange.error = GetLastError();
    return exchange;
  }
  const DWORD flags = INTERNET_FLAG_SECURE | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                      INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;
  CScopedInternet request(api.HttpOpenRequestW(connection.get(), L"POST", kPath, nullptr, nullptr, nullptr, flags, 0));
  if (!request) {
    exchange.error = GetLastError();
    return exchange;
  }
  setTimeouts(request.get(), timeoutMs);
  constexpr wchar_t kHeaders[] = L"Content-Type: application/x-www-form-urlencoded\r\n";
  exchange.sent = api.HttpSendRequestW(request.get(), kHeaders, static_cast<DWORD>(-1),
                                       const_cast<char*>(form.data()), static_cast<DWORD>(form.size()));
  if (!exchange.sent) {
    exchange.error = GetLastError();
    return exchange;
  }
  exchange.status = numberHeader(request.get(), HTTP_QUERY_STATUS_CODE);
  exchange.announcedLength = numberHeader(request.get(), HTTP_QUERY_CONTENT_LENGTH);
  readBody(request.get(), exchange);
  return exchange;
}

std::string versionCheck() { return std::string("a=version&p=") + kProduct + "&k="; }

// The exchange on a thread of its own that owns every handle of it, so that
// a request that never ends fails the test by a deadline instead of hanging
// it: the thread is left behind and ends with the process.
CExchange postWithin(std::chrono::seconds deadline, DWORD timeoutMs, std::string form) {
  std::promise<CExchange> promise;
  std::future<CExchange> result = promise.get_future();
  std::thread([promise = std::move(promise), form, timeoutMs]() mutable {
    promise.set_value(post(form, timeoutMs));
  }).detach();
  if (result.wait_for(deadline) != std::future_status::ready) {
    ADD_FAILURE() << "the request did not end by the deadline of " << deadline.count() << " s";
    return {};
  }
  return result.get();
}

// Generous: the figures the tests set are a few seconds; a slow machine under
// Wine must not fail them, a request that waits for ever must.
constexpr std::chrono::seconds kDeadline{60};
constexpr DWORD kTimeoutMs = 15000;

std::string environmentText(const wchar_t* name) {
  wchar_t value[256];
  const DWORD length = GetEnvironmentVariableW(name, value, 256);
  return length > 0 && length < 256 ? std::string(value, value + length) : std::string();
}

TEST(UpdateServerInSandbox, AnswersTheVersionCheckUnderItsHostName) {
  ASSERT_TRUE(inet::api().complete());
  // The version in this sandbox's configuration: two sandboxes run at once
  // with different ones, and each must reach its own server.
  const std::string version = environmentText(L"BRANTEL_SANDBOX_VERSION");
  ASSERT_FALSE(version.empty()) << "BRANTEL_SANDBOX_VERSION is not set";

  const CExchange exchange = postWithin(kDeadline, kTimeoutMs, versionCheck());

  ASSERT_TRUE(exchange.sent) << "error " << exchange.error;
  EXPECT_EQ(exchange.status, 200u);
  EXPECT_FALSE(exchange.readFailed);
  EXPECT_NE(exchange.body.find("<release ver=\"" + version + "\"/>"), std::string::npos) << exchange.body;
}

TEST(UpdateServerInSandbox, AnswersAnUnknownProductWithItsErrorDocument) {
  const CExchange exchange = postWithin(kDeadline, kTimeoutMs, "a=version&p=00000000-0000-0000-0000-000000000001&k=");

  ASSERT_TRUE(exchange.sent) << "error " << exchange.error;
  EXPECT_EQ(exchange.status, 200u);
  EXPECT_NE(exchange.body.find("<error>"), std::string::npos) << exchange.body;
}

TEST(ServerNameInSandbox, TheClientSendsTheHostNameInItsHello) {
  const CExchange exchange = postWithin(kDeadline, kTimeoutMs, versionCheck());

  ASSERT_TRUE(exchange.sent) << "error " << exchange.error;
  EXPECT_EQ(exchange.body, "updates.brantel.test");
}

// The send fails with one of the errors given, and nothing is read.
void expectSendFailure(const CExchange& exchange, std::initializer_list<DWORD> errors) {
  EXPECT_FALSE(exchange.sent);
  EXPECT_NE(std::find(errors.begin(), errors.end(), exchange.error), errors.end()) << "error " << exchange.error;
  EXPECT_TRUE(exchange.body.empty());
}

TEST(UntrustedCaInSandbox, TheCertificateIsRefused) {
  // Wine reports the unknown CA's chain by the last of its faults, the
  // revocation state nobody can vouch for; Windows by the CA.
  expectSendFailure(postWithin(kDeadline, kTimeoutMs, versionCheck()),
                    {ERROR_INTERNET_INVALID_CA, ERROR_INTERNET_SEC_CERT_REV_FAILED});
}

TEST(OtherHostNameInSandbox, TheCertificateIsRefused) {
  expectSendFailure(postWithin(kDeadline, kTimeoutMs, versionCheck()), {ERROR_INTERNET_SEC_CERT_CN_INVALID});
}

TEST(SilentServerInSandbox, TheRequestEndsByItsTimeOut) {
  // The server takes the request and never answers: the receive time-out set
  // here ends it, well before the deadline.  Wine reports the time-out as an
  // aborted connection.
  expectSendFailure(postWithin(kDeadline, 2000, versionCheck()),
                    {ERROR_INTERNET_TIMEOUT, ERROR_INTERNET_CONNECTION_ABORTED});
}

// A file of the sandbox's folder (BRANTEL_NET_DIR), read through drive Z:.
std::string sandboxFile(const char* name) {
  std::string path = "Z:" + environmentText(L"BRANTEL_NET_DIR") + "/" + name;
  std::replace(path.begin(), path.end(), '/', '\\');
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(RecordingServerInSandbox, KeepsTheRequestAsItWasSent) {
  const CExchange exchange = postWithin(kDeadline, kTimeoutMs, versionCheck());

  ASSERT_TRUE(exchange.sent) << "error " << exchange.error;
  EXPECT_EQ(sandboxFile("last-request-body"), versionCheck());
  const std::string head = sandboxFile("last-request-head");
  EXPECT_EQ(head.rfind("POST /setup/v1 HTTP/1.1\r\n", 0), 0u) << head;
  EXPECT_NE(head.find("\r\nContent-Type: application/x-www-form-urlencoded"), std::string::npos) << head;
  EXPECT_NE(head.find("\r\nHost: updates.brantel.test"), std::string::npos) << head;
}

TEST(ServerDownInSandbox, TheConnectionIsRefused) {
  expectSendFailure(postWithin(kDeadline, kTimeoutMs, versionCheck()), {ERROR_INTERNET_CANNOT_CONNECT});
}

TEST(ShortBodyInSandbox, LessArrivesThanTheLengthAnnounced) {
  const CExchange exchange = postWithin(kDeadline, kTimeoutMs, versionCheck());

  ASSERT_TRUE(exchange.sent) << "error " << exchange.error;
  EXPECT_EQ(exchange.announcedLength, 1000u);
  EXPECT_LT(exchange.body.size(), 1000u);
  EXPECT_EQ(exchange.body, std::string("<?xml vers"));
}

}  // namespace
