#include "net/https_address.h"

#include "frame/inet_api.h"

std::optional<CHttpsAddress> splitHttpsAddress(const std::wstring& address) {
  const auto crackUrl = inet::api().InternetCrackUrlW;
  if (!crackUrl || address.empty()) {
    return std::nullopt;
  }
  // Non-zero lengths without buffers: the parser points into the address.
  URL_COMPONENTSW parts{};
  parts.dwStructSize = sizeof(parts);
  parts.dwSchemeLength = 1;
  parts.dwHostNameLength = 1;
  parts.dwUrlPathLength = 1;
  parts.dwExtraInfoLength = 1;
  if (!crackUrl(address.c_str(), static_cast<DWORD>(address.size()), 0, &parts) ||
      parts.nScheme != INTERNET_SCHEME_HTTPS || !parts.lpszHostName || parts.dwHostNameLength == 0) {
    return std::nullopt;
  }
  CHttpsAddress split;
  split.host.assign(parts.lpszHostName, parts.dwHostNameLength);
  if (parts.lpszUrlPath) {
    split.object.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
  }
  if (parts.lpszExtraInfo) {
    split.object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  }
  if (split.object.empty() || split.object.front() != L'/') {
    split.object.insert(0, L"/");
  }
  split.port = parts.nPort;
  return split;
}
