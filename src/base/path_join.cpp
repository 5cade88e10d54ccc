#include "base/path_join.h"

std::wstring joinPath(std::wstring_view folder, std::wstring_view name) {
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) {
    folder.remove_suffix(1);
  }
  while (!name.empty() && (name.front() == L'/' || name.front() == L'\\' || name.front() == L':')) {
    name.remove_prefix(1);
  }
  std::wstring path;
  path.reserve(folder.size() + 1 + name.size());
  path.append(folder);
  path += L'\\';
  path.append(name);
  return path;
}
