// frame_probe.exe MODE: a program on the frame layer's own entry, for the
// tests that watch its error boundary and its COM apartment from outside.
//
//   family      the start-up hook throws a member of the exception family
//   foreign     the start-up hook throws an exception outside the family
//   app-text    the same, after the application set its own fixed text
//   window      a window procedure catches a failure and reports it
//   apartment   decodes a picture at start-up and ends with
//               kApartmentReport + the interface thread's apartment type
#include <windows.h>
#include <objbase.h>

#include <stdexcept>

#include "app/exception.h"
#include "base/bitmap.h"
#include "base/image_decode.h"
#include "base/png_writer.h"
#include "frame/failure_report.h"
#include "frame/win_app.h"
#include "frame/probe_codes.h"

namespace {

constexpr UINT kFailNow = WM_APP + 1;

LRESULT CALLBACK probeWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kFailNow) {
    try {
      throw XExceptionGeneral(kProbeWindowFailure);
    } catch (...) {
      frame::reportCurrentFailure(window);
    }
    ::DestroyWindow(window);
    return 0;
  }
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void openFailingWindow(HINSTANCE instance) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &probeWindowProcedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"BrantelFrameProbe";
  ::RegisterClassW(&windowClass);
  HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, kProbeWindowCaption,
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200, nullptr, nullptr, instance,
                                  nullptr);
  if (!window) {
    throw XExceptionGeneral(L"The probe's window could not be made");
  }
  ::PostMessageW(window, kFailNow, 0, 0);
}

// The apartment type after a picture has been decoded on this thread.
int apartmentAfterDecoding() {
  const std::string png = makePng(2, 1, EPngKind::Rgba, {255, 0, 0, 255, 0, 255, 0, 255});
  CBmpAlpha bitmap;
  if (!decodeImage(png.data(), png.size(), bitmap)) {
    return kPictureNotDecoded;
  }
  APTTYPE type{};
  APTTYPEQUALIFIER qualifier{};
  if (FAILED(::CoGetApartmentType(&type, &qualifier))) {
    return kNoApartment;
  }
  return kApartmentReport + static_cast<int>(type);
}

class CProbeApp : public frame::CWinApp {
public:
  CProbeApp() { setAppName(kProbeAppName); }

  bool InitInstance() override {
    const std::wstring mode = commandLineTail();
    if (mode == L"family") {
      throw XExceptionGeneral(kProbeFamilyFailure);
    }
    if (mode == L"app-text") {
      setUnexpectedFailureText(kProbeAppFailureText);
      throw std::runtime_error("outside the family");
    }
    if (mode == L"foreign") {
      throw 42;
    }
    if (mode == L"window") {
      openFailingWindow(instance());
      return true;
    }
    if (mode == L"apartment") {
      exitCode_ = apartmentAfterDecoding();
    }
    return false;
  }

  int ExitInstance() override { return exitCode_; }

private:
  int exitCode_ = 0;
};

CProbeApp theProbeApp;

}  // namespace
