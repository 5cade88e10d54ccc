#include "worker/thread_resume.h"

bool resumeSuspendedThread(HANDLE thread) noexcept { return ::ResumeThread(thread) != static_cast<DWORD>(-1); }
