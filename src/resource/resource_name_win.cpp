#include "resource/resource_name.h"

#include "base/ansi.h"

std::string bundleFileName(std::u16string_view name) {
  return toAnsi(std::wstring_view(reinterpret_cast<const wchar_t*>(name.data()), name.size()));
}

std::string resourceName(std::wstring_view name) { return toAnsi(name); }

std::wstring displayedName(std::string_view name) { return fromAnsi(name); }
