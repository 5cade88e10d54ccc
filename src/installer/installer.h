// The installation run: a worker that places the package's files into the
// installation directory and registers the product.
//
// The run measures the package, extracts every entry for this system under a
// temporary name (the files of a previous installation stay untouched), then
// renames them into place (a file in use is replaced at the next restart),
// deletes what the previous installation had and the new package lacks,
// registers the uninstall section and the shortcuts, and writes the manifest.
// It reports to the task's window: progress (sent), an error (posted) and,
// at the end, the done payload (posted).  A failure before the renames undoes
// only what this run made: its temporary files and the folders it created.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/ref_ptr.h"
#include "base/known_folder.h"
#include "installer/install_task.h"
#include "wizard/ref_thread.h"

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
  void createInstallationDirectory();
  void createFolder(const std::wstring& folder);
  void measurePass();
  void extractionPass();
  void extractEntry(const zip::CEntryInfo& entry, const std::wstring& selectedName);
  void replacePass();
  void registerWithSystem();
  void createUninstallCommand(std::wstring& command);
  void createLinkIn(const KNOWNFOLDERID& folder, bool desktop);
  void removeBeta();
  void rollback() noexcept;

  // Walks the package; calls visit(entry, selected name) for every entry this
  // system installs.  False when the package has no readable first entry.
  template <class Visit>
  bool forEachSelectedEntry(Visit&& visit);
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
  bool cancelled_ = false;
  bool hasUninstaller_ = false;
  bool restartNeeded_ = false;
  // Set when the renames begin: from then on the placed files are this run's.
  bool filesReplaced_ = false;
  bool desktopLinkCreated_ = false;
  std::vector<std::wstring> createdFolders_;
  std::vector<std::wstring> previousFiles_;
  std::vector<std::wstring> placedFiles_;
  std::vector<CPendingRename> pendingRenames_;
  TRefPtr<XInstallTask::CMessage> task_;
  // The task's names, completed by the run.
  std::wstring folderName_;
  std::wstring secondName_;
  std::wstring mainProgramFile_;
};

// Creates the installer for the task and starts its thread.
TRefPtr<CInstaller> StartInstaller(TRefPtr<XInstallTask::CMessage> task);

// The texts of the run's failures.
inline constexpr wchar_t kPackageErrorText[] = L"Package error. Please try to download the setup program again.";
inline constexpr wchar_t kExtractErrorText[] =
    L"Error extracting installation files. Probably there is not enough space on the destination disk";

}  // namespace setup
