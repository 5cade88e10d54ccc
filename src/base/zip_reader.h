// The seam between the archive object and the ZIP reader's file functions:
// each platform supplies the functions over its memory stream and opens the
// reader through here.
#pragma once

#include <minizip/unzip.h>

#include "base/zip_archive.h"

namespace zip {

// The reader's file functions over a read-only source: it never writes, and
// a source reports failures through the results of its reads and seeks.
zlib_filefunc64_def readOnlyFunctions(open64_file_func open, read_file_func read, tell64_file_func tell,
                                      seek64_file_func seek, close_file_func close);

// Opens the reader with `functions`; `source` is what the reader hands to
// their open function.  Empty when the reader refuses the archive.
TRefPtr<CZIPFile> openReader(zlib_filefunc64_def& functions, const void* source);

}  // namespace zip
