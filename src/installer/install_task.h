// The installation task: what the installation page hands the installer
// thread.  Filled once before the thread starts and only read afterwards.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "base/guid.h"
#include "base/ref_object.h"
#include "base/ref_ptr.h"
#include "base/zip_archive.h"

namespace setup {

class XInstallTask {
public:
  class CMessage : public CBaseRefObject {
  public:
    // Receives the progress, error and done payloads.
    HWND window = nullptr;
    // "DisplayName" of the uninstall section, the shortcuts' names, and the
    // word that finds the main program when none is named.
    std::wstring displayName;
    // The installation directory below the program folder; empty: the
    // display name.
    std::wstring folderName;
    std::wstring secondName;
    // The product's program inside the installation directory; empty: the
    // first ".exe" whose name holds the display name.
    std::wstring mainProgramFile;
    std::uint8_t desktopIcon = 0;
    // All zero: no uninstall section and no uninstall shortcut.
    CGuid uninstallEntry;
    // Empty: the installation builds one.
    std::wstring uninstallCommand;
    // name=value lines written into the uninstall section.
    std::wstring publisherLine;
    TRefPtr<zip::CZIPFile> package;
    // 1: remove the side-by-side BETA installation.
    std::uint8_t removeBeta = 0;
  };
};

}  // namespace setup
