#include "resource/resource_name.h"

namespace {

template <class Unit>
std::string asciiName(std::basic_string_view<Unit> name) {
  std::string out;
  out.reserve(name.size());
  for (const Unit c : name) {
    out.push_back(static_cast<std::uint32_t>(c) < 0x80 ? static_cast<char>(c) : '?');
  }
  return out;
}

}  // namespace

std::string bundleFileName(std::u16string_view name) { return asciiName(name); }

std::string resourceName(std::wstring_view name) { return asciiName(name); }

std::wstring displayedName(std::string_view name) {
  std::wstring out;
  for (const char c : name) {
    out.push_back(static_cast<unsigned char>(c) < 0x80 ? static_cast<wchar_t>(c) : L'?');
  }
  return out;
}
