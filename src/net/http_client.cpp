#include "net/http_client.h"

#include <algorithm>
#include <array>
#include <cwchar>
#include <cwctype>
#include <memory>

#include "app/exception.h"
#include "app/product_interface.h"
#include "base/stream_in_memory.h"
#include "net/hidden_text.h"
#include "net/hidden_words.h"
#include "net/https_address.h"
#include "xml/xml_parser.h"

namespace http {

namespace {

constexpr DWORD kChunkBytes = 16384;
// A body this short, or one not beginning with "<", is no document.
constexpr std::size_t kShortestDocument = 11;

// One chunk of a read; shared with the helper that may outlive the caller's
// frame after a stop request (worker/network_call.h).
struct CReadChunk {
  std::array<std::uint8_t, kChunkBytes> bytes{};
  DWORD count = 0;
};

bool setTimeouts(HINTERNET handle) {
  const auto setOption = inet::api().InternetSetOptionW;
  for (const auto& [option, milliseconds] : {std::pair{INTERNET_OPTION_CONNECT_TIMEOUT, kConnectTimeoutMs},
                                             std::pair{INTERNET_OPTION_SEND_TIMEOUT, kSendTimeoutMs},
                                             std::pair{INTERNET_OPTION_RECEIVE_TIMEOUT, kReceiveTimeoutMs}}) {
    DWORD value = milliseconds;
    if (!setOption(handle, option, &value, sizeof(value))) {
      return false;
    }
  }
  return true;
}

// The status of the answer, -1 when it cannot be read.
std::int32_t statusCode(HINTERNET request) {
  std::array<wchar_t, 128> text{};  // 256 bytes
  DWORD size = sizeof(text);
  if (!inet::api().HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE, text.data(), &size, nullptr)) {
    return -1;
  }
  text.back() = L'\0';
  return static_cast<std::int32_t>(std::wcstol(text.data(), nullptr, 10));
}

// The media type of the answer, without parameters, is the document type.
bool isDocumentType(HINTERNET request) {
  const auto type = QueryHeaderText(request, HTTP_QUERY_CONTENT_TYPE);
  if (!type) {
    return false;
  }
  std::wstring media = type->substr(0, type->find(L';'));
  media.erase(std::remove_if(media.begin(), media.end(), [](wchar_t c) { return std::iswspace(c) != 0; }),
              media.end());
  std::transform(media.begin(), media.end(), media.begin(), [](wchar_t c) { return std::towlower(c); });
  return media == revealWide(hidden_words::TYPE_DOCUMENT);
}

bool sendForm(CScopedInternet& request, const std::string& body, const CDeadline& deadline) {
  const std::wstring headers = L"Content-Type: " + revealWide(hidden_words::TYPE_FORM) +
                               L"\r\nContent-Length: " + std::to_wstring(body.size()) + L"\r\n";
  const HINTERNET handle = request.get();
  return boundedNetworkCall(request, deadline.remainingMs(), [handle, headers, payload = std::string(body)]() mutable {
           return inet::api().HttpSendRequestW(handle, headers.c_str(), static_cast<DWORD>(headers.size()),
                                               payload.data(), static_cast<DWORD>(payload.size()));
         }) != FALSE;
}

XmlDocumentPtr parsedDocument(const std::vector<std::uint8_t>& body) {
  if (body.size() < kShortestDocument || body.front() != '<') {
    return {};
  }
  XStreamInMemory stream(body.data(), body.size());
  return parseDocument(stream);
}

XmlDocumentPtr postOrThrow(const std::wstring& address, const std::string& body) {
  const auto split = splitHttpsAddress(address);
  const inet::CApi& api = inet::api();
  if (!split || !api.complete()) {
    return {};
  }
  const CDeadline deadline(kPostLimitMs);
  CScopedInternet session(api.InternetOpenW(userAgent().c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session || !setTimeouts(session.get())) {
    return {};
  }
  CScopedInternet connection(api.InternetConnectW(session.get(), split->host.c_str(), split->port, nullptr, nullptr,
                                                  INTERNET_SERVICE_HTTP, INTERNET_FLAG_SECURE, 0));
  if (!connection) {
    return {};
  }
  CScopedInternet request(api.HttpOpenRequestW(connection.get(), L"POST", split->object.c_str(), nullptr, nullptr,
                                               nullptr, INTERNET_FLAG_SECURE | INTERNET_FLAG_NO_AUTO_REDIRECT, 0));
  if (!request || !setTimeouts(request.get()) || !sendForm(request, body, deadline) || !request ||
      statusCode(request.get()) != 200 || !isDocumentType(request.get())) {
    return {};
  }
  return parsedDocument(ReadWholeBody(request, kMaxDocumentBytes, deadline));
}

}  // namespace

const std::wstring& userAgent() {
  static const std::wstring agent = std::wstring(product::kName) + L" Setup";
  return agent;
}

XmlDocumentPtr PostForm(const std::wstring& address, const std::string& body) noexcept {
  try {
    return postOrThrow(address, body);
  } catch (...) {
    // Whatever went wrong, the caller only moves on to its next address.
    return {};
  }
}

std::optional<std::wstring> QueryHeaderText(HINTERNET request, DWORD infoLevel) {
  const auto queryInfo = inet::api().HttpQueryInfoW;
  DWORD size = 0;
  if (queryInfo(request, infoLevel, nullptr, &size, nullptr) || ::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
    return std::nullopt;
  }
  std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (!queryInfo(request, infoLevel, text.data(), &size, nullptr)) {
    return std::nullopt;
  }
  text.resize(std::wcslen(text.c_str()));
  return text;
}

std::vector<std::uint8_t> ReadWholeBody(CScopedInternet& request, std::size_t maxBytes, const CDeadline& deadline) {
  DWORD announced = 0;
  DWORD size = sizeof(announced);
  const bool lengthKnown = inet::api().HttpQueryInfoW(request.get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER,
                                                      &announced, &size, nullptr) != FALSE;
  if (lengthKnown && announced > maxBytes) {
    throw XExceptionLength(L"The server's answer is too long.");
  }
  std::vector<std::uint8_t> body;
  body.reserve(lengthKnown ? announced : kChunkBytes);
  const auto chunk = std::make_shared<CReadChunk>();
  const HINTERNET handle = request.get();
  for (;;) {
    const bool read = boundedNetworkCall(request, deadline.remainingMs(), [handle, chunk] {
                        return inet::api().InternetReadFile(handle, chunk->bytes.data(), kChunkBytes, &chunk->count);
                      }) != FALSE;
    if (!read) {
      throw XExceptionInet();
    }
    if (chunk->count == 0) {
      // A connection that ends before the announced length cut the answer.
      if (lengthKnown && body.size() != announced) {
        throw XExceptionInet(ERROR_HTTP_INVALID_SERVER_RESPONSE);
      }
      return body;
    }
    if (body.size() + chunk->count > maxBytes) {
      throw XExceptionLength(L"The server's answer is too long.");
    }
    body.insert(body.end(), chunk->bytes.begin(), chunk->bytes.begin() + chunk->count);
  }
}

}  // namespace http
