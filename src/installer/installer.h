// The installation run: a worker that places the package's files into the
// installation directory and registers the product.
//
// The run measures the package, extracts every entry for this system under a
// temporary name (the files of a previous installation stay untouched), then
// renames them into place (a file in use is replaced at the next restart),
// deletes what the previous installation had and the new package lacks,
// registers the uninstall section and the shortcuts, and writes the manifest.
// It reports to the task's window: progress (sent), an error (posted) and,
// at the end, the done payload (posted).
//
// The contract the installation page relies on: every run ends with exactly
// one of a done payload (XMessageInstallDone) or an error payload
// (XMessageError), posted to the task's window as the run's last report;
// after it come no more reports.  A failure of any kind, a cancel in the
// wait dialog (a refused progress report) and a stop request all end with
// the error payload; a stop request then also ends the thread through
// XExceptionThreadTerminated.
//
// The package is checked as a whole before anything is written: its digest,
// a central directory that holds together, names that stay inside the
// installation directory, within the path limit, and do not use one name
// both as a file and as a folder.  A failure undoes only what this run
// made: its temporary files still waiting to be renamed and the folders it
// created (when empty).  Files already renamed into place are never deleted
// again: once the renames have begun they are the installation.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/ref_ptr.h"
#include "base/known_folder.h"
#include "installer/install_task.h"
#include "worker/ref_thread.h"

namespace setup {

class CInstaller : public XRefThread {
public:
  explicit CInstaller(TRefPtr<XInstallTask::CMessage> task);

  std::int32_t run() override;

private:
  struct CPendingRename {
    std::wstring finalName;      // relative to the installation directory
    std::wstring temporaryName;  // directly inside it
  };

  void install();
  // Posts the error payload after undoing the run; never throws.
  void fail(const std::wstring& text) noexcept;
  void createInstallationDirectory();
  void createFolder(const std::wstring& folder);
  void measurePass();
  void extractionPass();
  void extractEntry(const zip::CEntryInfo& entry, const std::wstring& selectedName);
  [[noreturn]] void throwExtractionFailure(bool writeFailed) const;
  void replacePass();
  void placeFile(const CPendingRename& rename);
  void removeObsoleteFile(const std::wstring& path);
  void registerWithSystem();
  void createUninstallCommand(std::wstring& command);
  void createLinkIn(const KNOWNFOLDERID& folder, bool desktop);
  void removeBeta();
  void rollback() noexcept;

  // Walks the package; calls visit(entry, selected name) for every entry this
  // system installs.  Throws the package error when the walk finds the
  // package damaged.
  template <class Visit>
  void forEachSelectedEntry(Visit&& visit);
  std::wstring freshTemporaryName() const;
  bool reportProgress(std::uint64_t position);
  static bool progressCallback(std::uint32_t bytesDone, std::uint32_t bytesTotal, void* user);
  std::wstring inDirectory(std::wstring_view name) const;

  bool is64Bit_ = false;
  std::wstring programFolder_;
  std::wstring installationDirectory_;
  std::uint64_t bytesDone_ = 0;
  std::uint64_t bytesTotal_ = 0;
  std::uint64_t lastReported_ = 0;  // the position of the last progress report
  // Set when the window refused a progress report: the user cancelled.
  bool cancelled_ = false;
  bool hasUninstaller_ = false;
  bool restartNeeded_ = false;
  bool desktopLinkCreated_ = false;
  std::vector<std::wstring> createdFolders_;
  std::vector<std::wstring> previousFiles_;
  std::vector<std::wstring> placedFiles_;
  std::vector<CPendingRename> pendingRenames_;
  // The pending renames before this one are done (or wait for the restart);
  // the rest still exist only under their temporary names.
  std::size_t renamesDone_ = 0;
  TRefPtr<XInstallTask::CMessage> task_;
  // The task's names, completed by the run.
  std::wstring folderName_;
  std::wstring secondName_;
  std::wstring mainProgramFile_;
};

// Creates the installer for the task and starts its thread.
TRefPtr<CInstaller> StartInstaller(TRefPtr<XInstallTask::CMessage> task);

// The texts of the run's failures (the string table's "error.*" texts).
inline constexpr wchar_t kPackageErrorText[] = L"Package error. Please try to download the setup program again.";
inline constexpr wchar_t kExtractErrorText[] =
    L"Error extracting installation files. Probably there is not enough space on the destination disk";
inline constexpr wchar_t kCancelledText[] = L"Installation cancelled";
// Followed by the file, ": " and the system's text of the reason.
inline constexpr wchar_t kPlaceFileErrorText[] = L"Failed to place the installation file ";
inline constexpr wchar_t kRemoveFileErrorText[] = L"Failed to remove the obsolete file ";

}  // namespace setup
