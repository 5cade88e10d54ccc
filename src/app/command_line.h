// The setup's own command line: the only switch it reads is the update switch,
// "/update:<GUID>".  Every other argument is ignored.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/guid.h"

// The GUID of the last valid update switch among the arguments (index 1 on;
// index 0 is the program).  A switch is "/" + name + ":" + value, split at the
// first ':'; the name is compared without regard to case and the value must
// parse as a GUID, braces optional.
std::optional<CGuid> findUpdateSwitch(const std::vector<std::wstring>& arguments);
