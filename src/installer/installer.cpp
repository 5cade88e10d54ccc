#include "installer/installer.h"

#include <algorithm>

#include "app/exception.h"
#include "base/guid.h"
#include "base/path_join.h"
#include "base/random.h"
#include "base/text.h"
#include "base/scoped_handle.h"
#include "base/zip_entry_name.h"
#include "base/zip_entry_walk.h"
#include "frame/failure_report.h"
#include "installer/entry_selection.h"
#include "installer/file_sink.h"
#include "installer/install_paths.h"
#include "installer/installed_names.h"
#include "installer/manifest.h"
#include "installer/system_registration.h"
#include "installer/uninstall_values.h"
#include "worker/messages.h"

namespace setup {

namespace {

bool fileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool samePath(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

// A folder entry ("docs/") places nothing.
bool isFolderEntry(const zip::CEntryInfo& entry) {
  return entry.size == 0 && !entry.wideName.empty() && (entry.wideName.back() == L'/' || entry.wideName.back() == L'\\');
}

constexpr std::uint64_t kProgressStep = 256 * 1024;

[[noreturn]] void throwPackageError() { throw XExceptionGeneral(kPackageErrorText); }
[[noreturn]] void throwExtractError() { throw XExceptionGeneral(kExtractErrorText); }
[[noreturn]] void throwFileError(const wchar_t* text, const std::wstring& path, DWORD error) {
  throw XExceptionGeneral(text + path + L": " + systemErrorText(error));
}

}  // namespace

CInstaller::CInstaller(TRefPtr<XInstallTask::CMessage> task) : task_(std::move(task)) {}

TRefPtr<CInstaller> StartInstaller(TRefPtr<XInstallTask::CMessage> task) {
  TRefPtr<CInstaller> installer = makeRef<CInstaller>(std::move(task));
  installer->start();
  return installer;
}

std::int32_t CInstaller::run() {
  // The shell links need COM on this thread.
  const CComApartment com;
  try {
    install();
  } catch (const XExceptionThreadTerminated&) {
    // A stop request: the page still hears how the run ended, then the
    // unwinding ends the thread.
    fail(kCancelledText);
    throw;
  } catch (const XException& failure) {
    fail(failure.getText());
  } catch (...) {
    fail(frame::currentFailureText());
  }
  return 0;
}

void CInstaller::fail(const std::wstring& text) noexcept {
  rollback();
  try {
    XMessageError::post(task_->window, makeRef<XMessageError::CMessage>(text));
  } catch (...) {
    // Out of memory for the payload: the thread's end is all the page sees.
  }
}

void CInstaller::install() {
  const XInstallTask::CMessage& task = *task_;
  folderName_ = task.folderName.empty() ? task.displayName : task.folderName;
  secondName_ = task.secondName.empty() ? task.displayName : task.secondName;
  mainProgramFile_ = task.mainProgramFile;

  // A damaged package is refused before anything is written.
  if (!task.package->hasValidDigest()) {
    throwPackageError();
  }
  is64Bit_ = is64BitSystem();
  programFolder_ = DecideProgramFolder(is64Bit_);
  installationDirectory_ = joinPath(programFolder_, folderName_);
  createInstallationDirectory();
  ReadPreviousManifest(installationDirectory_, previousFiles_);

  measurePass();
  extractionPass();
  if (task.uninstallEntry != CGuid{} && !CheckUninstallSection(task.uninstallEntry, is64Bit_)) {
    throw XExceptionGeneral(L"Unable to create the uninstall section");
  }
  replacePass();

  registerWithSystem();
  WriteManifest(installationDirectory_, placedFiles_);
  if (task.removeBeta == 1) {
    removeBeta();
  }
  XMessageInstallDone::post(task.window, makeRef<XMessageInstallDone::CMessage>(
                                             restartNeeded_, installationDirectory_, inDirectory(mainProgramFile_)));
}

std::wstring CInstaller::inDirectory(std::wstring_view name) const { return joinPath(installationDirectory_, name); }

void CInstaller::createFolder(const std::wstring& folder) {
  if (::CreateDirectoryW(folder.c_str(), nullptr)) {
    createdFolders_.push_back(folder);
    return;
  }
  const DWORD error = ::GetLastError();
  if (error != ERROR_ALREADY_EXISTS) {
    throw XExceptionGeneral(L"Failed to create the installation folder " + folder + L": " + systemErrorText(error));
  }
}

void CInstaller::createInstallationDirectory() {
  for (const std::wstring& folder : folderChain(installationDirectory_)) {
    createFolder(folder);
  }
  // Listed even when it existed: removing it succeeds only when it is empty.
  if (std::find(createdFolders_.begin(), createdFolders_.end(), installationDirectory_) == createdFolders_.end()) {
    createdFolders_.push_back(installationDirectory_);
  }
}

template <class Visit>
void CInstaller::forEachSelectedEntry(Visit&& visit) {
  zip::CEntryWalk walk(*task_->package);
  zip::CEntryInfo entry;
  zip::WalkStep step;
  while ((step = walk.next(entry)) == zip::WalkStep::Entry) {
    checkStop();
    if (isFolderEntry(entry)) {
      continue;
    }
    if (const std::optional<std::wstring> selected = selectEntryName(entry.wideName, is64Bit_)) {
      visit(entry, *selected);
    }
  }
  if (step == zip::WalkStep::Damaged) {
    throwPackageError();
  }
}

void CInstaller::measurePass() {
  bytesDone_ = 0;
  bytesTotal_ = 0;
  hasUninstaller_ = false;
  CInstalledNames names;
  forEachSelectedEntry([this, &names](const zip::CEntryInfo& entry, const std::wstring& name) {
    // The names are the package's: one that would land outside the
    // installation directory, beyond the path limit or on a folder of
    // another fails the run before any file is written.
    if (!zip::isSafeEntryName(name) || !zip::fitsPathLimit(installationDirectory_, name) || !names.add(name)) {
      throwPackageError();
    }
    bytesTotal_ += entry.size;
    hasUninstaller_ = hasUninstaller_ || asciiLowerCase(name) == L"uninstall.exe";
  });
  if (names.empty()) {
    throwPackageError();
  }
}

std::wstring CInstaller::freshTemporaryName() const {
  std::wstring name;
  do {
    name = temporaryFileName(randomValue());
  } while (fileExists(inDirectory(name)));
  return name;
}

void CInstaller::extractionPass() {
  forEachSelectedEntry([this](const zip::CEntryInfo& entry, const std::wstring& name) { extractEntry(entry, name); });
  // The last moment a cancel undoes everything: from the renames on the run
  // goes to its end.
  if (!reportProgress(bytesTotal_)) {
    throw XExceptionGeneral(kCancelledText);
  }
  checkStop();
}

void CInstaller::extractEntry(const zip::CEntryInfo& entry, const std::wstring& selectedName) {
  pendingRenames_.push_back({selectedName, freshTemporaryName()});
  const std::wstring temporaryPath = inDirectory(pendingRenames_.back().temporaryName);
  // The entry's own folders are made now, so that its rename cannot fail
  // for want of them.
  if (const std::wstring folder = relativeFolderOf(selectedName); !folder.empty()) {
    for (const std::wstring& part : folderChain(folder)) {
      const std::wstring path = inDirectory(part);
      if (::CreateDirectoryW(path.c_str(), nullptr)) {
        createdFolders_.push_back(path);
      }
    }
  }
  {
    CScopedFile file(::CreateFileW(temporaryPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      throwExtractError();
    }
    CFileSink sink(file.get());
    if (!task_->package->extractCurrent(&sink, &CInstaller::progressCallback, this) || !sink.flush()) {
      file.reset();
      ::DeleteFileW(temporaryPath.c_str());
      throwExtractionFailure(sink.failed());
    }
  }
  bytesDone_ += entry.size;
  if (mainProgramFile_.empty() && isMainProgramCandidate(selectedName, task_->displayName)) {
    mainProgramFile_ = selectedName;
  }
  placedFiles_.push_back(inDirectory(selectedName));
}

void CInstaller::throwExtractionFailure(bool writeFailed) const {
  if (cancelled_) {
    throw XExceptionGeneral(kCancelledText);
  }
  // The disk's side: the file could not be written.  Otherwise the entry's
  // data is damaged, which no amount of free space mends.
  if (writeFailed) {
    throwExtractError();
  }
  throwPackageError();
}

bool CInstaller::reportProgress(std::uint64_t position) {
  const auto progress = makeRef<XMessageProgress::CMessage>(static_cast<std::int64_t>(position),
                                                            static_cast<std::int64_t>(bytesTotal_));
  if (XMessageProgress::send(task_->window, progress) == 0) {
    cancelled_ = true;
    return false;
  }
  return true;
}

bool CInstaller::progressCallback(std::uint32_t bytesDone, std::uint32_t bytesTotal, void* user) {
  auto* self = static_cast<CInstaller*>(user);
  // Every report is a round trip to the window's thread, which costs more
  // than inflating a piece: report every kProgressStep bytes and at the end
  // of each entry, which keeps the bar smooth and a refusal prompt.
  const std::uint64_t position = self->bytesDone_ + bytesDone;
  if (bytesDone < bytesTotal && position < self->lastReported_ + kProgressStep) {
    return true;
  }
  self->lastReported_ = position;
  return self->reportProgress(position);
}

void CInstaller::replacePass() {
  for (renamesDone_ = 0; renamesDone_ < pendingRenames_.size(); ++renamesDone_) {
    placeFile(pendingRenames_[renamesDone_]);
  }
  pendingRenames_.clear();
  renamesDone_ = 0;
  for (const std::wstring& obsolete : previousFiles_) {
    removeObsoleteFile(obsolete);
  }
}

void CInstaller::placeFile(const CPendingRename& rename) {
  const std::wstring from = inDirectory(rename.temporaryName);
  const std::wstring to = inDirectory(rename.finalName);
  if (!::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
    const DWORD error = ::GetLastError();
    // In use: the system swaps it in when it next starts.  When even that
    // cannot be arranged the new file would never arrive.
    if (!::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING)) {
      throwFileError(kPlaceFileErrorText, to, error);
    }
    restartNeeded_ = true;
  }
  std::erase_if(previousFiles_, [&to](const std::wstring& previous) { return samePath(previous, to); });
}

void CInstaller::removeObsoleteFile(const std::wstring& path) {
  if (::DeleteFileW(path.c_str())) {
    return;
  }
  const DWORD error = ::GetLastError();
  // In use: it goes when the system next starts (no restart is asked for:
  // the new installation does not need it gone).
  if (error != ERROR_FILE_NOT_FOUND && !::MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
    throwFileError(kRemoveFileErrorText, path, error);
  }
}

void CInstaller::createUninstallCommand(std::wstring& command) {
  const std::wstring entryText = formatGuid(task_->uninstallEntry, GuidStyle::Lower);
  if (hasUninstaller_) {
    command = packagedUninstallerCommand(installationDirectory_, task_->uninstallEntry);
    return;
  }
  command = appendToFolder(installationDirectory_, L"uninstall.lnk");
  const std::wstring arguments = L"/uninstall:" + entryText;
  if (SUCCEEDED(CreateShortcut(inDirectory(mainProgramFile_), command, L"Uninstall " + task_->displayName,
                               arguments.c_str(), true))) {
    // Owned like every other shortcut, so that the next run or the
    // product's uninstall finds it.
    placedFiles_.push_back(command);
  }
}

void CInstaller::createLinkIn(const KNOWNFOLDERID& folder, bool desktop) {
  const std::wstring location = knownFolderPath(folder);
  if (location.empty()) {
    return;
  }
  const std::wstring link = joinPath(location, task_->displayName + L".lnk");
  if (SUCCEEDED(CreateShortcut(inDirectory(mainProgramFile_), link, task_->displayName, nullptr, false))) {
    placedFiles_.push_back(link);
    desktopLinkCreated_ = desktopLinkCreated_ || desktop;
  }
}

void CInstaller::registerWithSystem() {
  const XInstallTask::CMessage& task = *task_;
  if (task.uninstallEntry != CGuid{}) {
    std::wstring command = task.uninstallCommand;
    if (command.empty()) {
      createUninstallCommand(command);
    }
    WriteUninstallSection(task.uninstallEntry, task.displayName, command, is64Bit_, task.publisherLine,
                          static_cast<std::uint32_t>(bytesTotal_ / 1024));
  }
  createLinkIn(FOLDERID_CommonPrograms, false);
  if (task.desktopIcon == 1) {
    createLinkIn(FOLDERID_Desktop, true);
  }
}

void CInstaller::removeBeta() {
  RemoveFolderFiles(installationDirectory_ + L" BETA");
  if (desktopLinkCreated_) {
    const std::wstring desktop = knownFolderPath(FOLDERID_Desktop);
    if (!desktop.empty()) {
      ::DeleteFileW(joinPath(desktop, task_->displayName + L" BETA.lnk").c_str());
    }
  }
}

void CInstaller::rollback() noexcept {
  // Only what still waits under a temporary name.  The placed files are
  // never deleted: before the renames their paths hold the previous
  // installation's files, after them the new installation's.
  for (std::size_t i = renamesDone_; i < pendingRenames_.size(); ++i) {
    ::DeleteFileW(inDirectory(pendingRenames_[i].temporaryName).c_str());
  }
  pendingRenames_.clear();
  // Innermost first: a folder goes only once it is empty.
  for (auto folder = createdFolders_.rbegin(); folder != createdFolders_.rend(); ++folder) {
    ::RemoveDirectoryW(folder->c_str());
  }
}

}  // namespace setup
