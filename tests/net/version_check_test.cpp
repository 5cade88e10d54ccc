// The version check's address list and its sealed alternate address, over a
// scripted transport: which addresses are asked in which order, what the
// registry holds afterwards, and what the check reports.  The real transport
// is tested against a real server in the network sandbox.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/random.h"
#include "base/stream_in_memory.h"
#include "frame/win_app.h"
#include "net/approach_record.h"
#include "net/server_state.h"
#include "net/version_check.h"
#include "net/version_request.h"
#include "xml/xml_parser.h"

namespace {

const CGuid kProduct = *parseGuid(std::wstring_view(L"3F2A9C41-7B1D-4E58-9A06-5C2E8D17B4F0"));
const std::wstring kDefault = L"https://updates.brantel.test/setup/v1";
const std::wstring kMoved = L"https://updates2.brantel.test/setup/v2";
const std::wstring kOther = L"https://updates3.brantel.test/setup/v3";

std::wstring release(const wchar_t* ver) { return std::wstring(L"<release ver=\"") + ver + L"\"/>"; }
std::wstring moved(const std::wstring& url) { return L"<moved url=\"" + url + L"\"/>"; }

// Answers each address with its document (none when it has none) and
// records every post.
using CAnswers = std::map<std::wstring, std::wstring>;

class CScriptedServers {
public:
  explicit CScriptedServers(CAnswers answers) : answers_(std::move(answers)) {}

  net::FormPoster poster() {
    return [this](const std::wstring& address, const std::string& body) -> XmlDocumentPtr {
      asked.push_back(address);
      bodies.push_back(body);
      const auto found = answers_.find(address);
      if (found == answers_.end()) {
        return {};
      }
      const std::string text(found->second.begin(), found->second.end());
      XStreamInMemory stream(text.data(), text.size());
      return parseDocument(stream);
    };
  }

  std::vector<std::wstring> asked;
  std::vector<std::string> bodies;

private:
  CAnswers answers_;
};

// The raw registry value, where the setup's profile keeps it.
std::optional<std::vector<std::uint8_t>> storedApproach() {
  DWORD size = 0;
  const wchar_t key[] = L"Software\\MAVREN\\Brantel\\Common";
  if (::RegGetValueW(HKEY_CURRENT_USER, key, L"approach", RRF_RT_REG_BINARY, nullptr, nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes(size);
  if (::RegGetValueW(HKEY_CURRENT_USER, key, L"approach", RRF_RT_REG_BINARY, nullptr, bytes.data(), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  bytes.resize(size);
  return bytes;
}

std::optional<std::wstring> storedAddress() {
  const auto record = storedApproach();
  if (!record) {
    return std::nullopt;
  }
  const auto text = openApproach(*record, net::readMachineKey());
  return text ? std::optional<std::wstring>(std::wstring(text->begin(), text->end())) : std::nullopt;
}

class VersionCheck : public ::testing::Test {
protected:
  void SetUp() override {
    app_.SetRegistryKey(L"MAVREN");
    app_.setAppName(L"Brantel");
    ASSERT_TRUE(net::StoreAlternateAddress(std::nullopt) || !storedApproach());
    net::serverState().alternateAddress.clear();
  }
  void TearDown() override { net::StoreAlternateAddress(std::nullopt); }

  net::CVersionCheckResult check(CScriptedServers& servers) { return net::CheckVersion(kProduct, "", servers.poster()); }

  frame::CWinApp app_;
};

TEST_F(VersionCheck, TheDefaultAddressIsTheBuildSettingAndTheMachineKeyIsThisMachines) {
  EXPECT_EQ(net::serverState().defaultAddress, kDefault);
  EXPECT_NE(net::readMachineKey(), CMachineKey{}) << "Wine's prefix has a MachineGuid";
  EXPECT_EQ(net::serverState().machineKey, net::readMachineKey());
}

TEST_F(VersionCheck, TheDefaultAnswersWithTheVersionAndTheBodyIsExactlyTheForm) {
  CScriptedServers servers(CAnswers{{kDefault, release(L" 3 . 1 .. 7 ")}});
  const auto result = check(servers);
  EXPECT_TRUE(result.success);
  EXPECT_EQ(result.latest, (CVersion{3, 1, 7, 0}));
  EXPECT_FALSE(result.alternateServer);
  EXPECT_EQ(servers.asked, std::vector<std::wstring>{kDefault});
  EXPECT_EQ(servers.bodies, std::vector<std::string>{"a=version&p=3F2A9C41-7B1D-4E58-9A06-5C2E8D17B4F0&k="});
  EXPECT_EQ(net::serverState().lastProduct, kProduct);
  EXPECT_FALSE(storedApproach());
}

TEST_F(VersionCheck, ARedirectionIsFollowedAndSealedForTheNextRun) {
  CScriptedServers first(CAnswers{{kDefault, moved(kMoved)}, {kMoved, release(L"0x10.a.3")}});
  const auto result = check(first);
  EXPECT_TRUE(result.success);
  EXPECT_EQ(result.latest, (CVersion{16, 0, 3, 0}));
  EXPECT_EQ(first.asked, (std::vector<std::wstring>{kDefault, kMoved}));
  // Sealed, not readable in the registry, and this run keeps its addresses.
  EXPECT_EQ(storedAddress(), kMoved);
  const auto raw = storedApproach();
  ASSERT_TRUE(raw);
  EXPECT_EQ(std::string(raw->begin(), raw->end()).find("updates2"), std::string::npos);
  EXPECT_FALSE(result.alternateServer);
  EXPECT_TRUE(net::serverState().alternateAddress.empty());

  // The next run asks the learned address first.
  CScriptedServers next(CAnswers{{kMoved, release(L"2.5")}});
  const auto again = check(next);
  EXPECT_TRUE(again.success);
  EXPECT_TRUE(again.alternateServer);
  EXPECT_EQ(again.latest, (CVersion{2, 5, 0, 0}));
  EXPECT_EQ(next.asked, std::vector<std::wstring>{kMoved});
  EXPECT_EQ(storedAddress(), kMoved);
}

TEST_F(VersionCheck, WhenTheLearnedAddressFailsTheDefaultAnswersAndTheLearnedOneIsForgotten) {
  ASSERT_TRUE(net::StoreAlternateAddress(kMoved));
  CScriptedServers servers(CAnswers{{kDefault, release(L"2.5.0.17")}});
  const auto result = check(servers);
  EXPECT_TRUE(result.success);
  EXPECT_FALSE(result.alternateServer);
  EXPECT_EQ(servers.asked, (std::vector<std::wstring>{kMoved, kDefault}));
  EXPECT_FALSE(storedApproach());
  EXPECT_TRUE(net::serverState().alternateAddress.empty());
}

struct CFailingCase {
  const char* what;
  CAnswers answers;
  std::vector<std::wstring> asked;
};

TEST_F(VersionCheck, RedirectionsThatAreNotFollowedAndAnswersThatEndTheCheck) {
  const CFailingCase cases[] = {
      {"no server answers", {}, {kDefault}},
      {"a redirection to its own address", {{kDefault, moved(kDefault)}}, {kDefault}},
      {"a redirection to plain HTTP", {{kDefault, moved(L"http://updates2.brantel.test/setup/v2")}}, {kDefault}},
      {"a redirection without an address", {{kDefault, L"<moved href=\"x\"/>"}}, {kDefault}},
      {"a loop: each address is asked, none twice by redirection",
       {{kDefault, moved(kMoved)}, {kMoved, moved(kDefault)}},
       {kDefault, kMoved, kDefault}},
      {"an unknown element ends the check", {{kDefault, L"<error>Back in an hour.</error>"}}, {kDefault}},
      {"a learned address answering an unknown element ends it before the default",
       {{kDefault, moved(kMoved)}, {kMoved, L"<other/>"}},
       {kDefault, kMoved}},
  };
  for (const CFailingCase& c : cases) {
    CScriptedServers servers(c.answers);
    const auto result = check(servers);
    EXPECT_FALSE(result.success) << c.what;
    EXPECT_EQ(servers.asked, c.asked) << c.what;
    EXPECT_FALSE(storedApproach()) << c.what;
  }
}

TEST_F(VersionCheck, AServerThatKeepsNamingNewAddressesIsFollowedOnlySoFar) {
  // Each address moves on to the next; the last would answer.
  auto hop = [](int n) { return L"https://hop" + std::to_wstring(n) + L".brantel.test/"; };
  CAnswers answers{{kDefault, moved(hop(1))}};
  for (int n = 1; n <= net::kMaxRedirections; ++n) {
    answers[hop(n)] = moved(hop(n + 1));
  }
  answers[hop(net::kMaxRedirections + 1)] = release(L"9");
  CScriptedServers servers(answers);
  EXPECT_FALSE(check(servers).success);
  // The addresses already listed are still asked once more on the way back.
  const auto& asked = servers.asked;
  EXPECT_EQ(std::count(asked.begin(), asked.end(), hop(net::kMaxRedirections)), 1);
  EXPECT_EQ(std::count(asked.begin(), asked.end(), hop(net::kMaxRedirections + 1)), 0);

  // One hop fewer is followed to the end.
  answers[hop(net::kMaxRedirections)] = release(L"9");
  CScriptedServers shorter(answers);
  EXPECT_TRUE(check(shorter).success);
}

TEST_F(VersionCheck, AnotherMachinesValueIsIgnoredAndKept) {
  CMachineKey otherMachine = net::readMachineKey();
  otherMachine[0] ^= 0x55;
  const auto foreign = sealApproach("https://updates2.brantel.test/setup/v2", otherMachine, randomValue());
  ASSERT_TRUE(app_.WriteProfileBinary(L"Common", L"approach", foreign));
  CScriptedServers servers(CAnswers{{kDefault, release(L"2.5")}, {kMoved, release(L"9.9")}});
  const auto result = check(servers);
  EXPECT_TRUE(result.success);
  EXPECT_EQ(servers.asked, std::vector<std::wstring>{kDefault});
  EXPECT_EQ(storedApproach(), foreign);
}

TEST_F(VersionCheck, AStoredValueThatIsShortOrNotHttpsIsIgnoredAndKept) {
  const std::vector<std::uint8_t> shortValue(31, 0x41);
  const auto plainHttp = sealApproach("http://updates2.brantel.test/setup/v2", net::readMachineKey(), randomValue());
  for (const auto& value : {shortValue, plainHttp}) {
    ASSERT_TRUE(app_.WriteProfileBinary(L"Common", L"approach", value));
    EXPECT_FALSE(net::LoadAlternateAddress());
    CScriptedServers servers(CAnswers{{kDefault, release(L"1")}});
    EXPECT_TRUE(check(servers).success);
    EXPECT_EQ(servers.asked, std::vector<std::wstring>{kDefault});
    EXPECT_EQ(storedApproach(), value);
  }
}

TEST_F(VersionCheck, StoreLoadAndDeleteTheApproachValue) {
  ASSERT_TRUE(net::StoreAlternateAddress(kOther));
  const auto first = storedApproach();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->size(), 32 + kOther.size());
  ASSERT_TRUE(net::LoadAlternateAddress());
  EXPECT_EQ(net::serverState().alternateAddress, kOther);

  ASSERT_TRUE(net::StoreAlternateAddress(kOther));
  EXPECT_NE(storedApproach(), first) << "a fresh nonce each time";

  ASSERT_TRUE(net::StoreAlternateAddress(std::nullopt));
  EXPECT_FALSE(storedApproach());
  EXPECT_FALSE(net::LoadAlternateAddress());
}

}  // namespace
