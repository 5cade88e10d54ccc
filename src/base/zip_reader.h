// The seam between the archive object and the ZIP reader's file functions:
// each platform supplies the functions over its memory stream and opens the
// reader through here.
#pragma once

#include <minizip/unzip.h>

#include "base/zip_archive.h"

namespace zip {

// Opens the reader with `functions`; `source` is what the reader hands to
// their open function.  Empty when the reader refuses the archive.
TRefPtr<CZIPFile> openReader(zlib_filefunc64_def& functions, const void* source);

}  // namespace zip
