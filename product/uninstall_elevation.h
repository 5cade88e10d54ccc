// The uninstall removes files under the program files folder and keys under
// HKEY_LOCAL_MACHINE, which an ordinary user may not touch.  Started from
// the uninstall entry by such a user, the product asks for elevation first.
#pragma once

#include <string>

namespace product {

// The exit code of an uninstall that did not run for want of elevation.
inline constexpr int kExitNotElevated = 3;

// Starts `program` again with the verb "runas" and the same arguments, waits
// for it and answers its exit code.  A declined elevation, or an elevated
// copy that could not be started, is told to the user in a message box and
// answers kExitNotElevated.  So is a restarted copy that the system still
// did not elevate (elevation turned off): it does not ask again.
int uninstallElevated(const std::wstring& program, const std::wstring& arguments);

}  // namespace product
