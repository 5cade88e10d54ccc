#include "package/entry_names.h"

#include <iconv.h>

#include <cerrno>
#include <locale>
#include <memory>
#include <stdexcept>

namespace package {

namespace {

struct CIconvClose {
  void operator()(void* converter) const noexcept { iconv_close(static_cast<iconv_t>(converter)); }
};
using CConverter = std::unique_ptr<void, CIconvClose>;

CConverter openConverter(const std::string& to, const std::string& from) {
  iconv_t converter = iconv_open(to.c_str(), from.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    throw std::invalid_argument("code page " + to + " is not known to this system");
  }
  return CConverter(converter);
}

// Every byte converted, or nothing: invalid input and characters the target
// lacks both fail.
std::optional<std::string> convertAll(const CConverter& converter, std::string_view text) {
  std::string input(text);
  std::string output(text.size() * 4 + 16, '\0');
  char* in = input.data();
  std::size_t inLeft = input.size();
  char* out = output.data();
  std::size_t outLeft = output.size();
  if (iconv(static_cast<iconv_t>(converter.get()), &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) {
    return std::nullopt;
  }
  output.resize(output.size() - outLeft);
  return output;
}

}  // namespace

std::optional<std::string> toCodePage(std::string_view utf8, unsigned codePage) {
  const std::string target = codePage == 65001 ? "UTF-8" : "CP" + std::to_string(codePage);
  return convertAll(openConverter(target, "UTF-8"), utf8);
}

std::wstring wideName(std::string_view utf8) {
  const std::optional<std::string> utf32 = convertAll(openConverter("UTF-32LE", "UTF-8"), utf8);
  const std::string& units = utf32 ? *utf32 : std::string(utf8);
  std::wstring wide;
  const std::size_t width = utf32 ? 4 : 1;
  for (std::size_t i = 0; i + width <= units.size(); i += width) {
    char32_t c = 0;
    for (std::size_t b = 0; b < width; ++b) {
      c |= static_cast<char32_t>(static_cast<unsigned char>(units[i + b])) << (8 * b);
    }
    wide.push_back(static_cast<wchar_t>(c));
  }
  return wide;
}

std::wstring sameFileKey(std::string_view utf8) {
  std::wstring key = wideName(utf8);
  static const std::locale unicode("C.UTF-8");
  std::use_facet<std::ctype<wchar_t>>(unicode).toupper(key.data(), key.data() + key.size());
  return key;
}

}  // namespace package
