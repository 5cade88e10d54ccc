#pragma once

#include <windows.h>

#include "base/version.h"

// The file version in a module's version resource number 1 (nullptr: the own
// executable); 0.0.0.0 when it has none.
CVersion moduleVersion(HMODULE module);
