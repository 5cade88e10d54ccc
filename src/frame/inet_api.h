// The network library, bound at run time.
//
// wininet.dll is not one of the libraries the system always takes from
// System32, so setup.exe must not import it: a copy planted next to a
// downloaded setup would be loaded in its place.  The functions are looked up
// once, from System32 only, and each is null when it cannot be found.
#pragma once

#include <windows.h>
#include <wininet.h>

#include "base/scoped_handle.h"

namespace inet {

struct CApi {
  decltype(&::InternetOpenW) InternetOpenW = nullptr;
  decltype(&::InternetConnectW) InternetConnectW = nullptr;
  decltype(&::HttpOpenRequestW) HttpOpenRequestW = nullptr;
  decltype(&::HttpSendRequestW) HttpSendRequestW = nullptr;
  decltype(&::HttpQueryInfoW) HttpQueryInfoW = nullptr;
  decltype(&::InternetReadFile) InternetReadFile = nullptr;
  decltype(&::InternetSetOptionW) InternetSetOptionW = nullptr;
  decltype(&::InternetCrackUrlW) InternetCrackUrlW = nullptr;
  decltype(&::InternetCloseHandle) InternetCloseHandle = nullptr;

  // True when every function above was found.
  bool complete() const noexcept;
};

// The table, filled on first use and kept for the process.
const CApi& api();

}  // namespace inet

namespace handle_traits {

// Session, connection and request handles of the network library.
struct Internet {
  using Handle = HINTERNET;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept {
    if (auto closeHandle = inet::api().InternetCloseHandle) {
      closeHandle(h);
    }
  }
};

}  // namespace handle_traits

using CScopedInternet = TScopedHandle<handle_traits::Internet>;
