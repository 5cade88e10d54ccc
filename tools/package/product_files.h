// The files of a product folder as the package will hold them.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace package {

// Input the builder refuses; the text says which file and why.
class CBuildError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

struct CProductFile {
  std::filesystem::path path;  // on the host
  std::string shownName;       // relative, UTF-8, "/" between components
  std::string entryName;       // the same in the 8-bit code page
};

// Every file below `folder` (folders themselves become no entries), sorted
// by entry name.  Throws CBuildError for a folder that is missing or holds
// no file, and for every name the setup would refuse or could not tell apart
// on Windows: not representable in `codePage`, longer than 255 bytes, unsafe
// to place, too long for the system's path limit once installed below
// `installationDirectory` (UTF-8), or equal to another name, or to a folder
// on the way to another, but for letter case.  Anything that is neither a
// folder nor a regular file (a broken link, a device) is refused as
// unreadable.
std::vector<CProductFile> listProductFiles(const std::filesystem::path& folder, unsigned codePage,
                                           std::string_view installationDirectory);

}  // namespace package
