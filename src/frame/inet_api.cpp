#include "frame/inet_api.h"

#include "frame/dll_safety.h"

namespace inet {

namespace {

class CLoadedApi {
public:
  CLoadedApi() : module_(frame::loadSystemLibrary(L"wininet.dll")) {
    const HMODULE m = module_.get();
    api_.InternetOpenW = frame::systemFunction<decltype(api_.InternetOpenW)>(m, "InternetOpenW");
    api_.InternetConnectW = frame::systemFunction<decltype(api_.InternetConnectW)>(m, "InternetConnectW");
    api_.HttpOpenRequestW = frame::systemFunction<decltype(api_.HttpOpenRequestW)>(m, "HttpOpenRequestW");
    api_.HttpSendRequestW = frame::systemFunction<decltype(api_.HttpSendRequestW)>(m, "HttpSendRequestW");
    api_.HttpQueryInfoW = frame::systemFunction<decltype(api_.HttpQueryInfoW)>(m, "HttpQueryInfoW");
    api_.InternetReadFile = frame::systemFunction<decltype(api_.InternetReadFile)>(m, "InternetReadFile");
    api_.InternetSetOptionW = frame::systemFunction<decltype(api_.InternetSetOptionW)>(m, "InternetSetOptionW");
    api_.InternetCrackUrlW = frame::systemFunction<decltype(api_.InternetCrackUrlW)>(m, "InternetCrackUrlW");
    api_.InternetCloseHandle = frame::systemFunction<decltype(api_.InternetCloseHandle)>(m, "InternetCloseHandle");
  }
  const CApi& api() const noexcept { return api_; }

private:
  CScopedModule module_;
  CApi api_;
};

}  // namespace

bool CApi::complete() const noexcept {
  return InternetOpenW && InternetConnectW && HttpOpenRequestW && HttpSendRequestW && HttpQueryInfoW &&
         InternetReadFile && InternetSetOptionW && InternetCrackUrlW && InternetCloseHandle;
}

const CApi& api() {
  static const CLoadedApi loaded;
  return loaded.api();
}

}  // namespace inet
