// The product's own uninstall: removes what the installation placed.
#pragma once

#include <string>

#include "base/guid.h"

namespace product {

// Deletes the files and shortcuts listed in the installation's manifest that
// lie where the installation puts things (removable_paths.h), the
// uninstall entry of `section`, the Run value, and then the folders of the
// installation.  What is in use (the running program itself) is deleted when
// the system next starts.
void uninstallProduct(const std::wstring& installationDirectory, const CGuid& section);

}  // namespace product
