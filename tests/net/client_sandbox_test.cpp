// The setup's client against real HTTPS servers in the network sandbox
// (scripts/net-sandbox.sh): the real host name and port, certificate checks,
// and the update server itself or a hostile one.  Every entry gets a sandbox
// of its own; tests/net/CMakeLists.txt says which server each one faces.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "base/guid.h"
#include "base/ref_ptr.h"
#include "frame/win_app.h"
#include "net/approach_record.h"
#include "net/http_client.h"
#include "net/server_state.h"
#include "net/version_check.h"
#include "net/version_checker.h"
#include "support/polling.h"
#include "worker/envelope_window.h"
#include "worker/messages.h"

namespace {

const CGuid kAnswered = *parseGuid(std::wstring_view(L"11111111-2222-4333-8444-555555555555"));
const CGuid kMoved = *parseGuid(std::wstring_view(L"22222222-2222-4333-8444-555555555555"));
const CGuid kMovedToItself = *parseGuid(std::wstring_view(L"33333333-2222-4333-8444-555555555555"));
const std::wstring kSecondServer = L"https://updates.brantel.test:8443/setup/v1";

// A host path as Wine reaches it, through drive Z:.
std::wstring winePath(const std::string& hostPath) {
  std::wstring path = L"Z:";
  for (const char c : hostPath) {
    path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
  }
  return path;
}

std::string wineFileText(const std::string& hostPath) {
  std::ifstream file(winePath(hostPath).c_str(), std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// A file of the sandbox's private folder.
std::string sandboxPath(const char* name) {
  const char* dir = std::getenv("BRANTEL_NET_DIR");
  return std::string(dir ? dir : "/nonexistent") + "/" + name;
}

std::string sandboxFileText(const char* name) { return wineFileText(sandboxPath(name)); }

bool sandboxFileExists(const char* name) {
  return ::GetFileAttributesW(winePath(sandboxPath(name)).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::wstring> storedAlternate() {
  const auto record = frame::currentApp()->GetProfileBinary(L"Common", L"approach");
  if (!record) {
    return std::nullopt;
  }
  const auto text = openApproach(*record, net::readMachineKey());
  return text ? std::optional<std::wstring>(std::wstring(text->begin(), text->end())) : std::nullopt;
}

class Sandbox : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("BRANTEL_NET_DIR"), nullptr) << "runs only inside scripts/net-sandbox.sh";
    app_.SetRegistryKey(L"MAVREN");
    app_.setAppName(L"Brantel");
  }
  frame::CWinApp app_;
};

using TwoServers = Sandbox;

// What the version checker's worker sends to its window.
struct CWorkerReport {
  std::optional<bool> received;
  bool alternateServer = false;
  CVersion latest;
};

CWorkerReport checkOnWorker(const CGuid& product) {
  CWorkerReport report;
  CEnvelopeWindow window([&](XRefMessage& message) -> LRESULT {
    if (const auto payload = setup::XMessageVersionCheckDone::payloadOf(message)) {
      report.received = payload->received;
      report.alternateServer = payload->alternateServer;
      report.latest = payload->latest;
    }
    return 1;
  });
  const auto checker = setup::StartVersionCheck(window.handle(), product);
  EXPECT_TRUE(pumpMessagesUntil([&] { return report.received.has_value(); }, std::chrono::seconds(60)));
  EXPECT_TRUE(checker->waitForEnd(http::kPostLimitMs));
  EXPECT_EQ(checker->result(), 0);
  return report;
}

TEST_F(TwoServers, TheWorkerSendsTheVersionTheServerAnswers) {
  const CWorkerReport report = checkOnWorker(kAnswered);
  ASSERT_TRUE(report.received.value_or(false));
  EXPECT_EQ(report.latest, (CVersion{2, 5, 0, 0}));
  EXPECT_FALSE(report.alternateServer);
  EXPECT_FALSE(storedAlternate());
}

TEST_F(TwoServers, TheWorkerSaysWhenTheAnswerCameFromTheLearnedServer) {
  // The first check learns the new server; the worker's check asks it first.
  ASSERT_TRUE(net::CheckVersion(kMoved, "").success);
  const CWorkerReport report = checkOnWorker(kMoved);
  ASSERT_TRUE(report.received.value_or(false));
  EXPECT_EQ(report.latest, (CVersion{4, 0, 1, 0}));
  EXPECT_TRUE(report.alternateServer);
}

TEST_F(TwoServers, AMovedProductIsFollowedToTheNewServerWhichIsSealedForTheNextRun) {
  const auto first = net::CheckVersion(kMoved, "");
  ASSERT_TRUE(first.success);
  EXPECT_EQ(first.latest, (CVersion{4, 0, 1, 0}));
  EXPECT_FALSE(first.alternateServer);
  EXPECT_EQ(storedAlternate(), kSecondServer);

  const auto next = net::CheckVersion(kMoved, "");
  ASSERT_TRUE(next.success);
  EXPECT_TRUE(next.alternateServer);
  EXPECT_EQ(next.latest, (CVersion{4, 0, 1, 0}));
  EXPECT_EQ(storedAlternate(), kSecondServer);
}

TEST_F(TwoServers, AProductMovedToTheAddressItIsAskedAtHasNoVersion) {
  EXPECT_FALSE(net::CheckVersion(kMovedToItself, "").success);
  EXPECT_FALSE(storedAlternate());
}

using ServerDown = Sandbox;

TEST_F(ServerDown, TheCheckEndsWithoutAVersion) {
  EXPECT_FALSE(net::CheckVersion(kAnswered, "").success);
}

// The sandbox runs tests/net/hostile_server.py in the mode that the entry
// names; each answer must end the check without a version.
using HostileServer = Sandbox;

void expectNoVersionFrom(const char* mode) {
  const char* command = std::getenv("BRANTEL_NET_SERVER_CMD");
  ASSERT_NE(command, nullptr);
  ASSERT_NE(std::string(command).find(std::string("hostile_server.py ") + mode), std::string::npos) << command;
  EXPECT_FALSE(net::CheckVersion(kAnswered, "").success);
  // The server did answer the client, the way its mode says, and nothing
  // reached the plain HTTP server that a redirection names.
  const std::string answered = sandboxFileText("answered");
  EXPECT_NE(answered.find(mode), std::string::npos) << answered;
  EXPECT_EQ(answered.find("plain-http"), std::string::npos) << answered;
}

TEST_F(HostileServer, RedirectToPlainHttp) { expectNoVersionFrom("http-redirect"); }
TEST_F(HostileServer, HugeContentLength) { expectNoVersionFrom("huge-length"); }
TEST_F(HostileServer, WrongContentType) { expectNoVersionFrom("wrong-type"); }
TEST_F(HostileServer, Status500) { expectNoVersionFrom("status-500"); }
TEST_F(HostileServer, MalformedDocument) { expectNoVersionFrom("malformed"); }
TEST_F(HostileServer, TenByteBody) { expectNoVersionFrom("ten-bytes"); }
TEST_F(HostileServer, RandomBytes) { expectNoVersionFrom("random"); }
TEST_F(HostileServer, BodyShorterThanAnnounced) { expectNoVersionFrom("short-body"); }

// The server answers each check with the "ver" text the check sent as its
// extra field (tests/net/hostile_server.py echo-ver): every form of the
// attribute, over the real connection.
using VersionForms = Sandbox;

TEST_F(VersionForms, EveryFormOfTheAttributeGivesItsFourNumbers) {
  struct {
    const char* ver;
    CVersion expected;
  } const cases[] = {
      {"2.5", {2, 5, 0, 0}},
      {" 3 . 1 .. 7 ", {3, 1, 7, 0}},  // blanks and an empty piece
      {"1.a.3.4", {1, 0, 3, 4}},       // a letter counts 0
      {"0x10.1.2.3", {16, 1, 2, 3}},
      {"1.2.3.4.5", {1, 2, 3, 4}},     // the first four only
      {"", {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    const auto result = net::CheckVersion(kAnswered, c.ver);
    ASSERT_TRUE(result.success) << '"' << c.ver << '"';
    EXPECT_EQ(result.latest, c.expected) << '"' << c.ver << '"';
  }
}

// Answers without a Content-Length, read to the end of the connection: a
// whole read chunk, and the client's limit for a document, but not beyond.
using UnannouncedLength = Sandbox;

net::CVersionCheckResult checkAgainstUnannounced(const char* mode) {
  const char* command = std::getenv("BRANTEL_NET_SERVER_CMD");
  EXPECT_NE(command, nullptr);
  EXPECT_NE(std::string(command ? command : "").find(std::string("hostile_server.py ") + mode), std::string::npos);
  return net::CheckVersion(kAnswered, "");
}

TEST_F(UnannouncedLength, OneWholeReadChunkIsReadCompletely) {
  const auto result = checkAgainstUnannounced("unannounced-chunk");
  EXPECT_TRUE(result.success);
  EXPECT_EQ(result.latest, (CVersion{5, 6, 7, 8}));
}

TEST_F(UnannouncedLength, ADocumentOfTheLimitIsRead) {
  const auto result = checkAgainstUnannounced("unannounced-limit");
  EXPECT_TRUE(result.success);
  EXPECT_EQ(result.latest, (CVersion{5, 6, 7, 8}));
}

TEST_F(UnannouncedLength, OneByteBeyondTheLimitIsNoAnswer) {
  EXPECT_FALSE(checkAgainstUnannounced("unannounced-over-limit").success);
}

// The sandbox's own fake server (tests/net/fake_server.py) in the mode the
// entry names.
using FakeServer = Sandbox;

void expectFakeServerMode(const char* mode) {
  const char* command = std::getenv("BRANTEL_NET_SERVER_CMD");
  ASSERT_NE(command, nullptr);
  ASSERT_NE(std::string(command).find(std::string("fake_server.py ") + mode), std::string::npos) << command;
}

TEST_F(FakeServer, TheRequestIsExactlyTheForm) {
  expectFakeServerMode("record");
  const auto result = net::CheckVersion(kAnswered, "");
  EXPECT_TRUE(result.success);
  EXPECT_EQ(result.latest, (CVersion{9, 8, 7, 6}));
  EXPECT_EQ(sandboxFileText("last-request-body"), "a=version&p=11111111-2222-4333-8444-555555555555&k=");
  const std::string head = sandboxFileText("last-request-head");
  EXPECT_EQ(head.rfind("POST /setup/v1 HTTP/1.1\r\n", 0), 0u) << head;
  for (const char* line : {"\r\nContent-Type: application/x-www-form-urlencoded", "\r\nContent-Length: 51",
                           "\r\nUser-Agent: Brantel Setup", "\r\nHost: updates.brantel.test"}) {
    EXPECT_NE(head.find(line), std::string::npos) << line << " in " << head;
  }
}

// Answers that end the check at once (this server keeps no record of them).
TEST_F(FakeServer, AnHttpRedirectionToItsOwnAddressIsNotFollowed) {
  expectFakeServerMode("redirect-loop");
  EXPECT_FALSE(net::CheckVersion(kAnswered, "").success);
}

TEST_F(FakeServer, AnEmptyBodyIsNoAnswer) {
  expectFakeServerMode("empty-body");
  EXPECT_FALSE(net::CheckVersion(kAnswered, "").success);
}

// A certificate the client must refuse: the handshake ends on its side.
void expectCertificateRefused(const char* mode) {
  expectFakeServerMode(mode);
  EXPECT_FALSE(net::CheckVersion(kAnswered, "").success);
  const char* log = std::getenv("BRANTEL_NET_SERVER_LOG");
  ASSERT_NE(log, nullptr);
  const std::string written = wineFileText(log);
  EXPECT_NE(written.find("connection ended"), std::string::npos) << written;
}

TEST_F(FakeServer, ACertificateFromAnUntrustedAuthorityIsRefused) { expectCertificateRefused("untrusted-ca"); }
TEST_F(FakeServer, ACertificateForAnotherHostNameIsRefused) { expectCertificateRefused("other-name"); }

using SilentServer = Sandbox;

TEST_F(SilentServer, TheCheckEndsWithoutAVersionWithinThePostLimit) {
  // The entry's own time limit ends a hang; the post's limit ends the wait.
  EXPECT_FALSE(net::CheckVersion(kAnswered, "").success);
  EXPECT_TRUE(sandboxFileExists("request-read"));
}

TEST_F(SilentServer, AStopWhileTheWorkerWaitsForTheAnswerEndsItAtOnce) {
  bool reported = false;
  CEnvelopeWindow window([&](XRefMessage&) -> LRESULT {
    reported = true;
    return 1;
  });
  const auto checker = setup::StartVersionCheck(window.handle(), kAnswered);
  // The server has the request: the worker waits in the post.
  ASSERT_TRUE(ui::pollUntil(60000, [] { return sandboxFileExists("request-read"); }));
  checker->stop(5);
  // Well inside the post's limit, which alone would end the wait otherwise.
  // It ends without this thread pumping messages: so it sent nothing, since
  // a send would wait for this thread's answer.
  ASSERT_TRUE(checker->waitForEnd(http::kPostLimitMs / 2)) << "the stop did not end the check";
  pumpMessagesUntil([] { return false; }, std::chrono::milliseconds(500));
  EXPECT_FALSE(reported) << "a stopped check reports nothing";
}

}  // namespace
