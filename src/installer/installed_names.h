// Whether the files of one package can all be installed side by side.
//
// A name may not be both a file and a folder on the way to another file
// ("sub" and "sub\x.txt", in either order): the run would extract the file,
// then find its folder taken, and leave a move behind that can never
// succeed.  Names compare as the file system compares ASCII letters,
// whatever their case.
#pragma once

#include <set>
#include <string>
#include <string_view>

namespace setup {

class CInstalledNames {
public:
  // Adds a selected name (relative, "\" or "/" between its folders).  False
  // when it is a folder of an earlier name, or one of its folders is an
  // earlier name; the name is then not added.
  bool add(std::wstring_view name);

  bool empty() const noexcept { return files_.empty(); }

private:
  std::set<std::wstring> files_;
  std::set<std::wstring> folders_;
};

}  // namespace setup
