// The process entry of a program built on the frame layer: the application
// object is a global of the program; the entry hands it the command line,
// runs its start-up hook and, only when the hook asks for it, the message loop.
//
// This is the interface thread's error boundary: whatever the hook or the
// loop lets escape is shown to the user (frame/failure_report.h) and ends the
// program with kFailedExitCode.
#include "base/com_apartment.h"
#include "frame/dll_safety.h"
#include "frame/failure_report.h"
#include "frame/win_app.h"

namespace {

constexpr int kNoApplicationExitCode = 1;
constexpr int kFailedExitCode = 1;

int runApplication(frame::CWinApp& app, HINSTANCE instance, PWSTR commandLineTail) {
  app.attach(instance, commandLineTail ? commandLineTail : L"");
  if (!app.InitInstance()) {
    return app.ExitInstance();
  }
  return app.Run();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLineTail, int) {
  frame::restrictLibrarySearch();
  // The interface thread is a single-threaded apartment from before the first
  // dialog or picture to the end of the process, as the shell's dialogs want.
  // A static, so that objects other statics keep (the imaging factory) are
  // released while COM is still there.
  static const CComApartment interfaceApartment;
  frame::CWinApp* app = frame::currentApp();
  if (!app) {
    return kNoApplicationExitCode;
  }
  try {
    return runApplication(*app, instance, commandLineTail);
  } catch (...) {
    frame::reportCurrentFailure();
    return kFailedExitCode;
  }
}
