// Elevation: whether this process runs with an elevated token, and starting
// a program elevated.  The setup's first copy hands over to an elevated copy
// of itself, and the product's uninstall restarts itself elevated, in the
// same way.
#pragma once

#include <string>

#include "base/scoped_handle.h"

// False when the token cannot be read: a process that cannot show that it is
// elevated is treated as one that is not.
bool isProcessElevated();

// Starts the program through the shell with the verb "runas", the parameters
// unchanged and a normal window, and hands back its process.  Empty when the
// user declined the elevation; any other failure throws XExceptionFile with
// the system's text for it (the shell shows no message of its own).
CScopedHandle startElevated(const std::wstring& program, const std::wstring& parameters);
