// A picture of a shown window as it is on the screen.
#pragma once

#include <windows.h>

#include <string>

// Copies the window's rectangle of the screen into a PNG file; a window
// that cannot be copied or a file that cannot be written throws
// XExceptionGeneral naming the file.
void saveWindowPng(HWND window, const std::wstring& path);
