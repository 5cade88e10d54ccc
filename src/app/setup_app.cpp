#include "app/setup_app.h"

#include <windows.h>
#include <commctrl.h>
#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "app/command_line.h"
#include "app/hand_over.h"
#include "app/product_id.h"
#include "app/product_interface.h"
#include "app/registry_setup.h"
#include "app/requirements.h"
#include "app/own_version.h"
#include "base/process_elevation.h"
#include "frame/dll_safety.h"
#include "frame/failure_report.h"
#include "resource/resource_bundle.h"
#include "worker/ref_message.h"

namespace {

constexpr unsigned kApplicationIconId = 128;
constexpr unsigned kAllFirstGroupControls = 0xFF;

// The common controls library is not bound at load time: it is loaded from
// System32 (through the manifest's side-by-side redirection) when needed.
void initialiseCommonControls() {
  static CScopedModule commonControls = frame::loadSystemLibrary(L"comctl32.dll");
  using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  auto init = frame::systemFunction<InitFunction>(commonControls.get(), "InitCommonControlsEx");
  if (init) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), kAllFirstGroupControls};
    init(&controls);
  }
}

// Lends the claimed block to the application for the elevated run, and takes
// it back on every path: a failure leaves the run for the error boundary in
// wWinMain, after the block itself is gone.
class CLentBlock {
public:
  CLentBlock(CLaunchBlock*& slot, CLaunchBlock& block) : slot_(slot) { slot_ = &block; }
  ~CLentBlock() { slot_ = nullptr; }
  CLentBlock(const CLentBlock&) = delete;
  CLentBlock& operator=(const CLentBlock&) = delete;

private:
  CLaunchBlock*& slot_;
};

std::vector<std::wstring> processArguments() {
  std::vector<std::wstring> arguments;
  int count = 0;
  LPWSTR* vector = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  CScopedLocalMem owner(vector);
  for (int i = 0; vector && i < count; ++i) {
    arguments.emplace_back(vector[i]);
  }
  return arguments;
}

}  // namespace

CSetupApp::CSetupApp() = default;

CSetupApp& setupApp() { return *static_cast<CSetupApp*>(frame::currentApp()); }

bool CSetupApp::InitInstance() {
  initialiseCommonControls();
  frame::CWinApp::InitInstance();

  CLaunchBlock block = CLaunchBlock::open();
  switch (block.role()) {
    case CLaunchBlock::Role::First:
      handOverToElevatedCopy(block, commandLineTail());
      break;
    case CLaunchBlock::Role::Second:
      // Only the elevated copy may take the block: a second start by the
      // user while the elevation prompt is still up must not take it away
      // from the copy the prompt is about.  Such a copy ends without a word.
      if (isProcessElevated() && block.claim()) {
        const CLentBlock lent(claimedBlock_, block);
        runElevated(commandLineTail());
      }
      break;
    case CLaunchBlock::Role::None:
      break;
  }
  // The block is unmapped and closed as it goes out of scope, on every path.
  return false;
}

void CSetupApp::runElevated(const std::wstring& /*commandLineTail*/) {
  // The string table's first lookup, here on the interface thread before any
  // worker runs: the text every error boundary shows for a failure that
  // brings none of its own.
  setUnexpectedFailureText(lookupString("error.unexpected", frame::kUnexpectedFailureText));
  if (!checkRequirements(*this, mediaFoundation_)) {
    return;
  }
  migrateAutostart();
  // The envelopes' window message is registered once, before any worker runs.
  envelope::message();

  shellManager_ = std::make_unique<frame::CShellManager>();
  SetRegistryKey(L"MAVREN");
  setAppName(product::kName);
  userAgent = L"Brantel Setup";

  // The deciphered package and the archive over it live until the end.
  if (!zip::loadPackage(packageBytes)) {
    messageBox(L"Unexpected error 1", MB_OK);
    return;
  }
  package = zip::openArchive(packageBytes.data(), packageBytes.size());
  if (!package) {
    messageBox(L"Unexpected error 2", MB_OK);
    return;
  }

  if (!prepareVendorKey()) {
    messageBox(L"Unexpected error 3", MB_OK);
    return;
  }

  productId = productIdentifier();
  icon.reset(static_cast<HICON>(::LoadImageW(instance(), MAKEINTRESOURCEW(kApplicationIconId), IMAGE_ICON, 0, 0,
                                             LR_DEFAULTSIZE)));
  ownVersion = moduleVersion(nullptr);

  updateTarget = findUpdateSwitch(processArguments());
  // With an update target, update mode prepares the existing installation
  // here (installation directory, update-existing flag, started-for-update
  // flag) and ends the start-up when that fails.

  // The setup wizard is built and run here; the shell manager lives until it
  // has ended.
  shellManager_.reset();
}
