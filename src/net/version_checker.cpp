#include "net/version_checker.h"

#include "net/version_check.h"
#include "worker/messages.h"

namespace setup {

std::int32_t XVersionChecker::run() {
  pause(kFirstWaitMs);
  const auto payload = makeRef<XMessageVersionCheckDone::CMessage>(false, CVersion{});
  const net::CVersionCheckResult result = net::CheckVersion(product_, extra_);
  checkStop();
  payload->received = result.success;
  if (result.success) {
    payload->latest = result.latest;
    payload->alternateServer = result.alternateServer;
  }
  XMessageVersionCheckDone::send(target_, payload);
  return 0;
}

TRefPtr<XVersionChecker> StartVersionCheck(HWND targetWindow, const CGuid& product) {
  auto checker = makeRef<XVersionChecker>(targetWindow, product, std::string());
  checker->start();
  return checker;
}

}  // namespace setup
