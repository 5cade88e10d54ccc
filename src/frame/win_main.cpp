// The process entry of a program built on the frame layer: the application
// object is a global of the program; the entry hands it the command line,
// runs its start-up hook and, only when the hook asks for it, the message loop.
#include "frame/dll_safety.h"
#include "frame/win_app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLineTail, int) {
  frame::restrictLibrarySearch();
  frame::CWinApp* app = frame::currentApp();
  if (!app) {
    return 1;
  }
  app->attach(instance, commandLineTail ? commandLineTail : L"");
  if (!app->InitInstance()) {
    return app->ExitInstance();
  }
  return app->Run();
}
