// The application object of setup.exe.  Its start-up hook does all the work
// and then answers that no message loop is to run.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/launch_block.h"
#include "base/version.h"
#include "base/guid.h"
#include "base/ref_ptr.h"
#include "base/scoped_handle.h"
#include "base/zip_archive.h"
#include "frame/shell_manager.h"
#include "frame/win_app.h"

class CSetupApp : public frame::CWinApp {
public:
  CSetupApp();
  bool InitInstance() override;

  // Set when the user chose to update an existing installation, or by update
  // mode.
  bool updateExisting = false;
  // Set when the command line carried a valid update switch.
  bool startedForUpdate = false;

  CScopedIcon icon;
  CVersion ownVersion;
  CGuid productId;
  CVersion latestVersion;
  std::wstring installationDirectory;
  std::wstring userAgent;
  // The deciphered package, and the archive the installer and the
  // verification step walk.
  std::vector<std::uint8_t> packageBytes;
  TRefPtr<zip::CZIPFile> package;
  // The GUID of the command line's update switch, if it had a valid one.
  std::optional<CGuid> updateTarget;

  // The launch block this copy claimed; empty in every other copy.  The
  // installation page fills its launch request.
  CLaunchBlock* launchBlock() { return claimedBlock_; }

private:
  // The elevated copy's work, from the requirement check to the wizard.
  void runElevated(const std::wstring& commandLineTail);

  CLaunchBlock* claimedBlock_ = nullptr;
  CScopedModule mediaFoundation_;
  std::unique_ptr<frame::CShellManager> shellManager_;
};

// The one application object.
CSetupApp& setupApp();
