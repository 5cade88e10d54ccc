// What the setup needs of the system: Windows 8.1 or later and the Media
// Foundation library.
#pragma once

#include "base/scoped_handle.h"

namespace frame {
class CWinApp;
}

// True when the process may go on.  Shows "This software requires %s" with
// the error icon when not.  The Media Foundation library stays loaded for as
// long as the returned module lives.
bool checkRequirements(const frame::CWinApp& app, CScopedModule& mediaFoundation);
