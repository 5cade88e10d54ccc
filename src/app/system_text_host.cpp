// The host tree has no message tables and no resources: every code reads as
// "System error %u" and no resource string exists.
#include "app/exception.h"
#include "app/system_text.h"

#include <cerrno>

std::wstring systemErrorText(std::uint32_t code) { return L"System error " + std::to_wstring(code); }

std::uint32_t lastSystemError() { return static_cast<std::uint32_t>(errno); }

std::wstring ownModuleString(unsigned) { return {}; }
