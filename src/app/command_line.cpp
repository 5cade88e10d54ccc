#include "app/command_line.h"

#include <algorithm>
#include <cwctype>

namespace {

bool equalsIgnoringCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
           return std::towlower(static_cast<wint_t>(x)) == std::towlower(static_cast<wint_t>(y));
         });
}

}  // namespace

std::optional<CGuid> findUpdateSwitch(const std::vector<std::wstring>& arguments) {
  std::optional<CGuid> found;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    std::wstring_view argument = arguments[i];
    std::size_t colon = argument.find(L':');
    if (argument.empty() || argument.front() != L'/' || colon == std::wstring_view::npos) {
      continue;
    }
    if (!equalsIgnoringCase(argument.substr(0, colon), L"/update")) {
      continue;
    }
    if (std::optional<CGuid> guid = parseGuid(argument.substr(colon + 1))) {
      found = guid;
    }
  }
  return found;
}
