// The product's fixed identifier, sent with the version check and the
// installation task.  Its text is not stored in the program as it stands: it
// is kept scrambled and built at run time.
#pragma once

#include "base/guid.h"

CGuid productIdentifier();
