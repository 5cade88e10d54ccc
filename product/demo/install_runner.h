// Runs the installer engine the way the installation page does, for the demo
// program, the tests and the benchmark: the task as the page fills it, and a
// hidden window of the calling thread that receives the installer's reports
// until the run ends.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "base/ref_ptr.h"
#include "base/zip_archive.h"
#include "installer/install_task.h"

namespace demo {

// The product's uninstall entry.
inline constexpr CGuid kUninstallEntry{0x7BBCFE84, 0xE6E6, 0x47E6, {0x82, 0x48, 0x56, 0xD7, 0x44, 0x52, 0x2D, 0x62}};
inline constexpr wchar_t kPublisherLine[] = L"Publisher=MAVREN";

// What the page would put into the task: display name and main program of
// the product, its uninstall entry and command, the publisher line, BETA
// removal.  The window is filled by runInstallation.
TRefPtr<setup::XInstallTask::CMessage> pageTask(TRefPtr<zip::CZIPFile> package, bool desktopIcon);

// The format with each "%s" replaced by the next text, in order (the
// formats of product_interface.h; the C library's wide "%s" differs between
// runtimes, so they are never handed to it).
std::wstring fillFormat(std::wstring_view format, std::initializer_list<std::wstring_view> texts);

// The program folder joined with the folder name, as the run will compute it.
std::wstring installationDirectoryFor(const std::wstring& folderName);

struct CInstallOutcome {
  bool finished = false;  // the run ended within the time limit
  bool done = false;      // the done payload arrived
  std::wstring error;     // the text of an error payload
  bool restartNeeded = false;
  std::wstring installationDirectory;
  std::wstring mainProgramPath;
  std::uint64_t progressReports = 0;
  std::int64_t lastPosition = 0;
  std::int64_t lastRange = 0;
  bool progressInOrder = true;  // positions never went back, never passed the range
};

// Starts the installer on the task and dispatches the calling thread's
// messages until its thread has ended.  With refuseProgressAfter >= 0 the
// window answers 0 to every progress report after that many.
CInstallOutcome runInstallation(const TRefPtr<setup::XInstallTask::CMessage>& task, int refuseProgressAfter = -1,
                                DWORD timeoutMs = 600000);

// The package container of a file (key field, enciphered archive), opened;
// empty when it cannot be read or opened.
TRefPtr<zip::CZIPFile> openPackageFile(const std::wstring& path);
// The package carried by the own module (RCDATA 103), opened.
TRefPtr<zip::CZIPFile> openOwnPackage();

}  // namespace demo
