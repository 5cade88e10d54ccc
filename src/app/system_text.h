// The platform pieces behind the exception family.  Each tree has its own
// implementation: the windows tree asks the system, the host tree has no
// message tables and no resources.
#pragma once

#include <cstdint>
#include <string>

// The calling thread's last system error code; read it before anything else
// can overwrite it.
std::uint32_t lastSystemError();

// A string resource of the own module, or an empty text when there is none.
std::wstring ownModuleString(unsigned resourceId);
