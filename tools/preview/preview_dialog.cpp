#include "preview/preview_dialog.h"

#include <algorithm>
#include <utility>

#include "preview/window_shot.h"

namespace {

constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT kWatchMs = 300;
// The picture is taken a moment after the window is shown: under Wine a
// button made last may still be drawn without its text right after the
// first showing.
constexpr UINT_PTR kPhotographTimer = 2;
constexpr UINT kSettleMs = 250;

}  // namespace

CPreviewDialog::CPreviewDialog(std::string_view markupName, std::vector<std::filesystem::path> watched,
                               std::wstring picturePath)
    : XDlg(markupName, nullptr), watched_(std::move(watched)), picturePath_(std::move(picturePath)) {
  shownChange_ = newestChange();
}

int CPreviewDialog::run() {
  const auto result = static_cast<int>(DoModal());
  if (failure_) {
    std::rethrow_exception(failure_);
  }
  return result;
}

// A markup fault found while the controls are built ends the dialog quietly;
// run() reports it with the file's name.
void CPreviewDialog::PreInitDialog() {
  try {
    XDlg::PreInitDialog();
  } catch (...) {
    failure_ = std::current_exception();
    EndDialog(IDABORT);
  }
}

void CPreviewDialog::OnFirstShow() {
  if (failure_) {
    return;
  }
  if (picturePath_.empty()) {
    ::SetTimer(GetSafeHwnd(), kWatchTimer, kWatchMs, nullptr);
  } else {
    ::SetTimer(GetSafeHwnd(), kPhotographTimer, kSettleMs, nullptr);
  }
}

LRESULT CPreviewDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kPhotographTimer) {
    ::KillTimer(GetSafeHwnd(), kPhotographTimer);
    photograph();
    return 0;
  }
  if (message == WM_TIMER && wParam == kWatchTimer) {
    if (newestChange() != shownChange_) {
      ::KillTimer(GetSafeHwnd(), kWatchTimer);
      EndDialog(kReload);
    }
    return 0;
  }
  return XDlg::WindowProc(message, wParam, lParam);
}

// The latest write time of the watched files; a file that cannot be read
// is left out, so that its disappearance counts as a change too.
std::uint64_t CPreviewDialog::newestChange() const {
  std::uint64_t newest = 0;
  for (const std::filesystem::path& path : watched_) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
      const std::uint64_t written =
          (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
      newest = std::max(newest, written);
    }
  }
  return newest;
}

void CPreviewDialog::photograph() {
  const HWND window = GetSafeHwnd();
  ::SetForegroundWindow(window);
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  try {
    saveWindowPng(window, picturePath_);
  } catch (...) {
    failure_ = std::current_exception();
  }
  EndDialog(kPhotographed);
}
