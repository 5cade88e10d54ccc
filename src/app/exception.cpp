#include "app/exception.h"

#include "app/system_text.h"

#include <algorithm>
#include <iterator>

namespace {

struct CStatusText {
  std::int32_t status;
  const wchar_t* text;
};

// The descriptions of the HTTP status codes the setup knows by name, in
// ascending order of code.  306 is unused and has none.
constexpr CStatusText kStatusTexts[] = {
    {100, L"OK to continue with request"},
    {101, L"Server has switched protocols in upgrade header"},
    {200, L"Request completed"},
    {201, L"Object created, reason = new URI"},
    {202, L"Async completion (TBS)"},
    {203, L"Partial completion"},
    {204, L"No info to return"},
    {205, L"Request completed, but clear form"},
    {206, L"Partial GET furfilled"},
    {300, L"Server couldn't decide what to return"},
    {301, L"Object permanently moved"},
    {302, L"Object temporarily moved"},
    {303, L"Redirection w/ new access method"},
    {304, L"If-modified-since was not modified"},
    {305, L"Redirection to proxy, location header specifies proxy to use"},
    {307, L"HTTP/1.1: keep same verb"},
    {400, L"Invalid syntax"},
    {401, L"Access denied"},
    {402, L"Payment required"},
    {403, L"Request forbidden"},
    {404, L"Object not found"},
    {405, L"Method is not allowed"},
    {406, L"No response acceptable to client found"},
    {407, L"Proxy authentication required"},
    {408, L"Server timed out waiting for request"},
    {409, L"User should resubmit with more info"},
    {410, L"The resource is no longer available"},
    {411, L"The server refused to accept request w/o a length"},
    {412, L"Precondition given in request failed"},
    {413, L"Request entity was too large"},
    {414, L"Request URI too long"},
    {415, L"Unsupported media type"},
    {449, L"Retry after doing the appropriate action."},
    {500, L"Internal server error"},
    {501, L"Required not supported"},
    {502, L"Error response received from gateway"},
    {503, L"Temporarily overloaded"},
    {504, L"Timed out waiting for gateway"},
    {505, L"HTTP version not supported"},
};

const wchar_t* statusText(std::int32_t status) {
  auto found = std::lower_bound(std::begin(kStatusTexts), std::end(kStatusTexts), status,
                                [](const CStatusText& entry, std::int32_t code) { return entry.status < code; });
  if (found == std::end(kStatusTexts) || found->status != status) {
    return nullptr;
  }
  return found->text;
}

}  // namespace

XExceptionGeneral::XExceptionGeneral(unsigned resourceId) : text_(ownModuleString(resourceId)) {}

XExceptionFile::XExceptionFile(std::wstring fileName)
    : errorCode_(lastSystemError()), fileName_(std::move(fileName)) {}

XExceptionFile::XExceptionFile(std::uint32_t errorCode, std::wstring fileName)
    : errorCode_(errorCode), fileName_(std::move(fileName)) {}

std::wstring XExceptionFile::getText() const { return systemErrorText(errorCode_); }

XExceptionInet::XExceptionInet() : errorCode_(lastSystemError()) {}

std::wstring XExceptionInet::getText() const { return systemErrorText(errorCode_); }

std::wstring XExceptionHttp::getText() const {
  if (const wchar_t* text = statusText(status_)) {
    return std::wstring(L"HTTP request error: ") + text;
  }
  // Any other status, -1 (none could be read) included, is shown as the
  // system would describe an error of that number.
  return systemErrorText(static_cast<std::uint32_t>(status_));
}

std::wstring XExceptionThread::getText() const {
  switch (reason_) {
    case AlreadyRunning:
      return L"Target thread is already running";
    case NotRunning:
      return L"Target thread isn't running";
    default:
      return systemErrorText(errorCode_);
  }
}
