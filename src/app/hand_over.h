// The first copy's part of the start-up: restart elevated, wait, and start the
// freshly installed product as the ordinary user when the elevated copy asks.
#pragma once

#include <string>

class CLaunchBlock;

// Starts the own executable again with the verb "runas" and the command-line
// tail unchanged, waits for it without a time limit, and then starts the
// program of the launch request, if any, with "/justinstalled".  A refused
// elevation ends quietly; any other failure to start the elevated copy throws
// XExceptionFile with the system's text for it.
void handOverToElevatedCopy(CLaunchBlock& block, const std::wstring& commandLineTail);
