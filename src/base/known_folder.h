// The path of a known folder (program files, the desktop, the start menu...).
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

// Empty when the system cannot name the folder.
std::wstring knownFolderPath(REFKNOWNFOLDERID folder);
