// The worker that runs the version check for the welcome page and sends the
// page the outcome.
#pragma once

#include <windows.h>

#include <string>

#include "base/guid.h"
#include "base/ref_ptr.h"
#include "worker/ref_thread.h"

namespace setup {

class XVersionChecker : public XRefThread {
public:
  // The page shows its wait dialog for at least this long, so that a quick
  // answer does not just flash it.
  static constexpr DWORD kFirstWaitMs = 2000;

  XVersionChecker(HWND targetWindow, const CGuid& product, std::string extra)
      : target_(targetWindow), product_(product), extra_(std::move(extra)) {}

  // Waits, checks, and sends XMessageVersionCheckDone to the target window;
  // a stop request unwinds it before anything is sent.
  std::int32_t run() override;

private:
  HWND target_;
  CGuid product_;
  std::string extra_;  // always empty in this program
};

// Creates the checker and starts its thread at once.
TRefPtr<XVersionChecker> StartVersionCheck(HWND targetWindow, const CGuid& product);

}  // namespace setup
