#include "product/demo/install_runner.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app/product_interface.h"
#include "base/guid.h"
#include "base/path_join.h"
#include "base/zip_cipher.h"
#include "installer/installer.h"
#include "installer/system_registration.h"
#include "worker/envelope_window.h"
#include "worker/messages.h"

namespace demo {

namespace {

// Keeps what the installer's reports tell; with refuseProgressAfter >= 0 it
// answers 0 to every progress report after that many.
class CReportRecorder {
public:
  CReportRecorder(CInstallOutcome& outcome, int refuseProgressAfter)
      : outcome_(outcome), refuseProgressAfter_(refuseProgressAfter) {}

  LRESULT operator()(XRefMessage& message) {
    if (const auto progress = XMessageProgress::payloadOf(message)) {
      if (progress->position < outcome_.lastPosition || progress->position > progress->range) {
        outcome_.progressInOrder = false;
      }
      outcome_.lastPosition = progress->position;
      outcome_.lastRange = progress->range;
      ++outcome_.progressReports;
      return refuseProgressAfter_ >= 0 && outcome_.progressReports > static_cast<std::uint64_t>(refuseProgressAfter_)
                 ? 0
                 : 1;
    }
    if (const auto error = XMessageError::payloadOf(message)) {
      outcome_.error = error->text;
    } else if (const auto done = setup::XMessageInstallDone::payloadOf(message)) {
      outcome_.done = true;
      outcome_.restartNeeded = done->restartNeeded;
      outcome_.installationDirectory = done->installationDirectory;
      outcome_.mainProgramPath = done->mainProgramPath;
    }
    return 1;
  }

private:
  CInstallOutcome& outcome_;
  int refuseProgressAfter_;
};

}  // namespace

std::wstring fillFormat(std::wstring_view format, std::initializer_list<std::wstring_view> texts) {
  std::wstring filled;
  auto next = texts.begin();
  for (std::size_t at = 0; at < format.size(); ++at) {
    if (format.compare(at, 2, L"%s") == 0 && next != texts.end()) {
      filled += *next++;
      ++at;
    } else {
      filled += format[at];
    }
  }
  return filled;
}

std::wstring installationDirectoryFor(const std::wstring& folderName) {
  return joinPath(setup::DecideProgramFolder(setup::is64BitSystem()), folderName);
}

TRefPtr<setup::XInstallTask::CMessage> pageTask(TRefPtr<zip::CZIPFile> package, bool desktopIcon) {
  auto task = makeRef<setup::XInstallTask::CMessage>();
  task->displayName = product::kName;
  task->mainProgramFile = product::kExecutableName;
  task->desktopIcon = desktopIcon ? 1 : 0;
  task->uninstallEntry = kUninstallEntry;
  const std::wstring program = joinPath(installationDirectoryFor(product::kName), product::kExecutableName);
  task->uninstallCommand =
      fillFormat(product::kUninstallStringFormat, {program, formatGuid(kUninstallEntry, GuidStyle::Upper)});
  task->publisherLine = kPublisherLine;
  task->package = std::move(package);
  task->removeBeta = 1;
  return task;
}

CInstallOutcome runInstallation(const TRefPtr<setup::XInstallTask::CMessage>& task, int refuseProgressAfter,
                                DWORD timeoutMs) {
  CInstallOutcome outcome;
  CEnvelopeWindow receiver(CReportRecorder(outcome, refuseProgressAfter));
  task->window = receiver.handle();
  const TRefPtr<setup::CInstaller> installer = setup::StartInstaller(task);
  pumpMessagesUntil([&] { return installer->finished(); }, std::chrono::milliseconds(timeoutMs));
  outcome.finished = installer->finished();
  if (!outcome.finished) {
    installer->stop(0);
    installer->waitForEnd(timeoutMs);
  }
  return outcome;
}

TRefPtr<zip::CZIPFile> openPackageFile(const std::wstring& path) {
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  const std::vector<std::uint8_t> container((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<std::uint8_t> archive;
  if (!zip::decipherContainer(container.data(), container.size(), archive)) {
    return {};
  }
  return zip::openArchive(archive.data(), archive.size());
}

TRefPtr<zip::CZIPFile> openOwnPackage() {
  std::vector<std::uint8_t> archive;
  if (!zip::loadPackage(archive)) {
    return {};
  }
  return zip::openArchive(archive.data(), archive.size());
}

}  // namespace demo
