// The control of the planting test: loads the library named on its command
// line the ordinary way, so that a planted library beside it would be taken.
#include <windows.h>

#include "base/scoped_handle.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR name, int) {
  CScopedModule module(::LoadLibraryW(name));
  return module ? 0 : 1;
}
