// The body of a version check, in the server's words:
// "<action field>=<check word>&<product field>=<identifier>&<extra field>=<extra>",
// the identifier as 36 upper-case characters 8-4-4-4-12 without braces.
// Nothing is percent-encoded: every part is plain ASCII.
#pragma once

#include <string>
#include <string_view>

#include "base/guid.h"

std::string versionCheckBody(const CGuid& product, std::string_view extra);
