// brantel-preview: shows a markup file of a ui/ folder on disk as the setup
// would show it, with that folder's string table and pictures, and shows it
// again whenever the file or the string table changes.  With --out it writes
// a picture of the window instead and ends.  See preview_options.h.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/exception.h"
#include "base/com_apartment.h"
#include "base/utf8.h"
#include "frame/failure_report.h"
#include "preview/preview_dialog.h"
#include "preview/preview_options.h"
#include "preview/ui_folder_bundle.h"

namespace {

constexpr int kMarkupFailed = 1;
constexpr int kUsageError = 2;

void printError(const std::wstring& text) { std::fprintf(stderr, "%s\n", toUtf8(text).c_str()); }

int displayDpi() {
  const HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi;
}

// Shows one markup file until the user closes it, or photographs it; the
// folder is read again before each showing, so that a changed file is seen.
void preview(CUiFolderBundle& bundle, const CPreviewOptions& options, const CPreviewJob& job) {
  const std::vector<std::filesystem::path> watched{options.uiFolder / job.markup,
                                                   options.uiFolder / "strings" / "default.xml"};
  for (;;) {
    bundle.load();
    CPreviewDialog dialog(job.markup, watched, job.picturePath);
    if (dialog.run() != CPreviewDialog::kReload) {
      return;
    }
  }
}

// The failure being handled, with the markup file it concerns.
std::wstring failureNaming(const std::filesystem::path& file) {
  return std::filesystem::path(file).make_preferred().wstring() + L": " + frame::currentFailureText();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::optional<CPreviewOptions> options = parsePreviewOptions(std::vector<std::wstring>(argv + 1, argv + argc));
  if (!options) {
    printError(kPreviewUsage);
    return kUsageError;
  }
  if (options->dpi && *options->dpi != displayDpi()) {
    printError(L"preview: the display runs at " + std::to_wstring(displayDpi()) + L" DPI, not " +
               std::to_wstring(*options->dpi) + L"; set the display's DPI first (scripts/preview.sh does)");
  }
  CComApartment com;
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                     ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_LINK_CLASS | ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&classes);

  CUiFolderBundle bundle(options->uiFolder);
  int status = 0;
  for (const CPreviewJob& job : options->jobs) {
    try {
      preview(bundle, *options, job);
    } catch (...) {
      const std::wstring text = failureNaming(options->uiFolder / job.markup);
      if (job.picturePath.empty()) {
        ::MessageBoxW(nullptr, text.c_str(), L"Markup preview", MB_OK | MB_ICONERROR);
      } else {
        printError(text);
      }
      status = kMarkupFailed;
    }
  }
  return status;
}
