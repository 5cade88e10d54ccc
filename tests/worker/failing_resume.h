// The replacement of the worker core's resume in thread_resume_test: it fails
// as often as asked, with the given error, and resumes for real afterwards.
#pragma once

#include <windows.h>

void failNextResumes(int count, DWORD error);
