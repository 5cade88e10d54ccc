// The files of a bundle: every file under the given folders, named by its
// path below its folder with '/' between the parts ("img/setup-logo.png").
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace bundle {

// Every bad input ends the build with one of these; the text says what and
// where.
class CBundleError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

struct CBundleFile {
  std::string name;
  std::filesystem::path path;
};

// The files of all folders in name order.  A name must be 1 to 259
// characters of printable ASCII without '\' (the program looks names up as
// 8-bit text in the system's code page, so anything else could differ there);
// a name that two files share, also in other letter case, is a duplicate.
// Entries that are neither folders nor regular files (a dangling link) and
// folders that cannot be listed are errors.
std::vector<CBundleFile> collectBundleFiles(const std::vector<std::filesystem::path>& folders);

// The file's bytes; a file that cannot be read is an error.
std::string readBundleFile(const CBundleFile& file);

}  // namespace bundle
