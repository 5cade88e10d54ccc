// Sets a thread that was created suspended running: the system's
// ResumeThread, false (with the thread's last error set) when it fails.
//
// A translation unit of its own, so that a test can link a replacement that
// fails and show what a failed start leaves behind.
#pragma once

#include <windows.h>

bool resumeSuspendedThread(HANDLE thread) noexcept;
