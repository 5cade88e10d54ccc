#include "app/command_line.h"

#include "base/text.h"

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
