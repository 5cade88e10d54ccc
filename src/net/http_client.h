// The HTTPS client of the setup: form posts to the update server over the
// network library.
//
// Beyond what the library does by default, every request here
// - gives up after fixed connect, send and receive time-outs, so that a
//   server that accepts and never answers cannot hold the setup, and a
//   limit of its own on the whole post (kPostLimitMs);
// - follows no HTTP redirection at all: the server moves programs with its
//   own redirect element, and the library would otherwise follow a redirect
//   to plain HTTP;
// - reads at most a given number of body bytes and never allocates what the
//   server merely announces.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "frame/inet_api.h"
#include "net/bounded_call.h"
#include "xml/xml_document.h"

namespace http {

inline constexpr DWORD kConnectTimeoutMs = 10000;
inline constexpr DWORD kSendTimeoutMs = 10000;
inline constexpr DWORD kReceiveTimeoutMs = 10000;
// A whole post, from the connection to the last byte of the answer: the
// library's time-outs do not bound every wait (bounded_call.h).
inline constexpr DWORD kPostLimitMs = 20000;
// The largest answer document taken: real ones are under 200 bytes.
inline constexpr std::size_t kMaxDocumentBytes = 1024 * 1024;

// "Brantel Setup", the agent named in every request.
const std::wstring& userAgent();

// Posts the form body to the HTTPS address and parses a 200 answer of the
// document type as XML.  Null on every failure (the address, the network,
// the status, the content type, a body of 10 bytes or less, one that does
// not begin with "<" or exceeds kMaxDocumentBytes, a parse error); never
// throws, and no handle stays open.  A stop request of the calling worker
// ends a blocked request at once.
XmlDocumentPtr PostForm(const std::wstring& address, const std::string& body) noexcept;

// The text of one header of the request's answer, or nothing.
std::optional<std::wstring> QueryHeaderText(HINTERNET request, DWORD infoLevel);

// The whole body of the request's answer.  Throws XExceptionInet when a read
// fails (ERROR_INTERNET_OPERATION_CANCELLED after a stop request,
// ERROR_INTERNET_TIMEOUT at the deadline, ERROR_HTTP_INVALID_SERVER_RESPONSE
// when it ends short of its announced length), and XExceptionLength when the
// body is announced or found longer than maxBytes.
std::vector<std::uint8_t> ReadWholeBody(CScopedInternet& request, std::size_t maxBytes, const CDeadline& deadline);

}  // namespace http
