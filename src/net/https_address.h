// A server address, split by the platform's own URL parser.  Only HTTPS
// addresses with a host name pass: the setup never talks plain HTTP.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <optional>
#include <string>

struct CHttpsAddress {
  std::wstring host;
  // Path and query, "/" when the address has none.
  std::wstring object;
  INTERNET_PORT port = INTERNET_DEFAULT_HTTPS_PORT;
};

std::optional<CHttpsAddress> splitHttpsAddress(const std::wstring& address);
inline bool isServerAddress(const std::wstring& address) { return splitHttpsAddress(address).has_value(); }
