#include "frame/failure_report.h"

#include "app/exception.h"
#include "frame/win_app.h"

namespace frame {

std::wstring unexpectedFailureText() {
  const CWinApp* app = currentApp();
  return app ? app->unexpectedFailureText() : kUnexpectedFailureText;
}

std::wstring currentFailureText() noexcept {
  try {
    try {
      throw;
    } catch (const XException& failure) {
      return failure.getText();
    } catch (...) {
      return unexpectedFailureText();
    }
  } catch (...) {
    // Even the text could not be had (no memory left): the constant serves.
    return kUnexpectedFailureText;
  }
}

void reportCurrentFailure(HWND owner) noexcept {
  const std::wstring text = currentFailureText();
  if (const CWinApp* app = currentApp()) {
    app->messageBox(text, MB_OK | MB_ICONERROR, owner);
  } else {
    ::MessageBoxW(owner, text.c_str(), nullptr, MB_OK | MB_ICONERROR);
  }
}

}  // namespace frame
