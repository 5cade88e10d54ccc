#include "installer/installed_names.h"

#include <vector>

#include "base/text.h"

namespace setup {

namespace {

// One spelling per file: ASCII letters in lower case, "\" between folders.
std::wstring keyOf(std::wstring_view name) {
  std::wstring key = asciiLowerCase(name);
  for (wchar_t& c : key) {
    if (c == L'/') {
      c = L'\\';
    }
  }
  return key;
}

}  // namespace

bool CInstalledNames::add(std::wstring_view name) {
  const std::wstring key = keyOf(name);
  if (folders_.contains(key)) {
    return false;
  }
  std::vector<std::wstring> folders;
  for (std::size_t at = key.find(L'\\'); at != std::wstring::npos; at = key.find(L'\\', at + 1)) {
    folders.push_back(key.substr(0, at));
    if (files_.contains(folders.back())) {
      return false;
    }
  }
  folders_.insert(folders.begin(), folders.end());
  files_.insert(key);
  return true;
}

}  // namespace setup
