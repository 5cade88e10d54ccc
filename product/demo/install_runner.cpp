#include "product/demo/install_runner.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app/product_interface.h"
#include "base/convert.h"
#include "base/zip_cipher.h"
#include "installer/installer.h"
#include "installer/system_registration.h"
#include "wizard/messages.h"

namespace demo {

namespace {

// The receiving window: takes every envelope, keeps what it learns.
class CReceiver {
public:
  CReceiver(CInstallOutcome& outcome, int refuseProgressAfter)
      : outcome_(outcome), refuseProgressAfter_(refuseProgressAfter) {
    static const ATOM registered = registerClass();
    window_ = ::CreateWindowExW(0, MAKEINTATOM(registered), L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                ::GetModuleHandleW(nullptr), this);
  }
  ~CReceiver() {
    if (window_) {
      ::DestroyWindow(window_);
    }
  }
  CReceiver(const CReceiver&) = delete;
  CReceiver& operator=(const CReceiver&) = delete;

  HWND handle() const { return window_; }

private:
  static ATOM registerClass() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"BrantelInstallReceiver";
    return ::RegisterClassW(&windowClass);
  }

  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<CReceiver*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == envelope::message()) {
      if (auto answer = envelope::receive(wParam, lParam, [self](XRefMessage& m) { return self->handle(m); })) {
        return *answer;
      }
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
  }

  LRESULT handle(XRefMessage& message) {
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

  CInstallOutcome& outcome_;
  int refuseProgressAfter_;
  HWND window_ = nullptr;
};

void dispatchPending() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

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
  CReceiver receiver(outcome, refuseProgressAfter);
  task->window = receiver.handle();
  const TRefPtr<setup::CInstaller> installer = setup::StartInstaller(task);
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!installer->finished() && std::chrono::steady_clock::now() < end) {
    dispatchPending();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  // The posted reports that arrived after the last look.
  dispatchPending();
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
