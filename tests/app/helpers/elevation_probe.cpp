// A partner of the start-up tests: its exit code says whether the system
// started it elevated (1) or not (0), as the setup's own check sees it.
#include <windows.h>

#include "base/process_elevation.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return isProcessElevated() ? 1 : 0; }
