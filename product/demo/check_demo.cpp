// Asks the update server for the latest version of the product, the way the
// welcome page will once the wizard exists: the version checker's worker,
// its report to a window of this thread, the server address the build gave,
// and the product identifier setup.exe sends.  Prints what came back.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "app/product_id.h"
#include "base/guid.h"
#include "base/version.h"
#include "frame/win_app.h"
#include "net/version_checker.h"
#include "worker/envelope_window.h"
#include "worker/messages.h"

namespace {

constexpr auto kCheckLimit = std::chrono::minutes(2);

struct CReport {
  bool received = false;
  bool alternateServer = false;
  CVersion latest;
};

std::string ascii(const std::wstring& text) { return std::string(text.begin(), text.end()); }

}  // namespace

int wmain() {
  // The registry profile that keeps a server address the server taught.
  frame::CWinApp app;
  app.SetRegistryKey(L"MAVREN");
  app.setAppName(L"Brantel");

  std::optional<CReport> report;
  CEnvelopeWindow window([&report](XRefMessage& message) -> LRESULT {
    if (const auto payload = setup::XMessageVersionCheckDone::payloadOf(message)) {
      report = CReport{payload->received, payload->alternateServer, payload->latest};
    }
    return 1;
  });
  const CGuid product = productIdentifier();
  std::printf("product %s\n", ascii(formatGuid(product, GuidStyle::Upper)).c_str());
  const auto checker = setup::StartVersionCheck(window.handle(), product);
  if (!pumpMessagesUntil([&report] { return report.has_value(); }, kCheckLimit)) {
    checker->stop(0);
    std::printf("the version check did not end\n");
    return 1;
  }
  if (!report->received) {
    std::printf("the update server gave no version\n");
    return 1;
  }
  std::printf("latest version %s%s\n", ascii(formatVersion(report->latest)).c_str(),
              report->alternateServer ? " (from the server address learned earlier)" : "");
  return 0;
}
