#include "net/version_check.h"

#include <set>
#include <vector>

#include "net/hidden_text.h"
#include "net/hidden_words.h"
#include "net/http_client.h"
#include "net/https_address.h"
#include "net/server_state.h"
#include "net/version_answer.h"
#include "net/version_request.h"

namespace net {

namespace {

// After a success through `answered`: a learned address is sealed for the
// next run; an answer of the default address forgets the alternate one.
void rememberAnsweringAddress(const std::wstring& answered) {
  CServerState& state = serverState();
  if (answered == state.alternateAddress) {
    return;
  }
  if (answered == state.defaultAddress) {
    if (!state.alternateAddress.empty()) {
      StoreAlternateAddress(std::nullopt);
      state.alternateAddress.clear();
    }
    return;
  }
  StoreAlternateAddress(answered);
}

}  // namespace

CVersionCheckResult CheckVersion(const CGuid& product, std::string_view extra) {
  return CheckVersion(product, extra, &http::PostForm);
}

CVersionCheckResult CheckVersion(const CGuid& product, std::string_view extra, const FormPoster& post) {
  CServerState& state = serverState();
  state.lastProduct = product;
  if (!LoadAlternateAddress()) {
    state.alternateAddress.clear();
  }

  std::vector<std::wstring> addresses;
  if (!state.alternateAddress.empty()) {
    addresses.push_back(state.alternateAddress);
  }
  addresses.push_back(state.defaultAddress);
  std::set<std::wstring> tried(addresses.begin(), addresses.end());

  const std::wstring redirectElement = revealWide(hidden_words::ELEMENT_REDIRECT);
  const std::wstring versionElement = revealWide(hidden_words::ELEMENT_VERSION);
  const std::string body = versionCheckBody(product, extra);

  int redirections = 0;
  for (std::size_t index = 0; index < addresses.size();) {
    const std::wstring address = addresses[index];
    const XmlDocumentPtr document = post(address, body);
    const XmlNodePtr answer = document ? documentElement(document) : XmlNodePtr();
    if (!answer) {
      ++index;  // no document, or one without an element
      continue;
    }
    if (!answer->isElement()) {
      return {};
    }
    if (answer->text == redirectElement) {
      const auto target = getAttribute(answer, revealWide(hidden_words::ATTRIBUTE_URL));
      if (target && !tried.count(*target) && redirections < kMaxRedirections && isServerAddress(*target)) {
        ++redirections;
        tried.insert(*target);
        addresses.insert(addresses.begin(), *target);
        index = 0;
      } else {
        ++index;
      }
      continue;
    }
    if (answer->text != versionElement) {
      return {};
    }
    rememberAnsweringAddress(address);
    CVersionCheckResult result;
    result.success = true;
    result.latest =
        parseVersionAnswer(getAttribute(answer, revealWide(hidden_words::ATTRIBUTE_VERSION)).value_or(L""));
    result.alternateServer = !state.alternateAddress.empty();
    return result;
  }
  return {};
}

}  // namespace net
