// Asks the update server for the latest version of a product.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "base/guid.h"
#include "base/version.h"
#include "xml/xml_document.h"

namespace net {

// Redirections followed in one check at most: a server that keeps naming new
// addresses cannot keep the check going.
inline constexpr int kMaxRedirections = 8;

struct CVersionCheckResult {
  bool success = false;
  // Filled only on success.
  bool alternateServer = false;
  CVersion latest;
};

// Posts a form body to an address; null when there is no usable answer.
using FormPoster = std::function<XmlDocumentPtr(const std::wstring& address, const std::string& body)>;

// Tries the alternate address (if one is stored) and then the default one,
// following the server's redirect element to HTTPS addresses not tried yet,
// until a server names the version.  Never throws for the network or the
// server: those end as success false.  A stop request of the calling worker
// fails the post it interrupts; the worker's own check-stop unwinds it.
CVersionCheckResult CheckVersion(const CGuid& product, std::string_view extra);
// The same over another transport, for tests of the address list.
CVersionCheckResult CheckVersion(const CGuid& product, std::string_view extra, const FormPoster& post);

}  // namespace net
