// The "ver" attribute of the server's version element.
#pragma once

#include <string_view>

#include "base/version.h"

// Split at ".", each piece trimmed of white space, empty pieces dropped; the
// first four pieces are the numbers, each either decimal with an optional
// leading "-" or hexadecimal after "0x"/"0X".  A piece that is not wholly such
// a number, or one that does not fit in 32 bits, counts 0, as does a missing
// one: the server's answer is never a reason to fail the check.
CVersion parseVersionAnswer(std::wstring_view text);
