#include "dialog/markup_values.h"

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "base/integer.h"
#include "base/text.h"

namespace {

bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// The length of the decimal number at the start of text: an optional '-',
// digits, an optional '.' and digits, with at least one digit; 0 for none.
std::size_t numberPrefix(std::wstring_view text) {
  std::size_t at = 0;
  if (at < text.size() && text[at] == L'-') {
    ++at;
  }
  std::size_t digits = 0;
  for (; at < text.size() && isDigit(text[at]); ++at) {
    ++digits;
  }
  if (at < text.size() && text[at] == L'.') {
    ++at;
    for (; at < text.size() && isDigit(text[at]); ++at) {
      ++digits;
    }
  }
  return digits == 0 ? 0 : at;
}

// The number, exactly as the decimal text says, or +-infinity when it is too
// large for a double (the limit below then holds it).
double numberValue(std::wstring_view number) {
  const std::string ascii(number.begin(), number.end());
  double value = 0;
  const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value, std::chars_format::fixed);
  if (error == std::errc::result_out_of_range) {
    return ascii.front() == '-' ? -HUGE_VAL : HUGE_VAL;
  }
  return value;
}

std::int32_t roundedPixels(double pixels) {
  const double limited = std::fmax(-kLengthLimit, std::fmin(kLengthLimit, pixels));
  return static_cast<std::int32_t>(std::round(limited));
}

bool isBlank(wchar_t c) { return isBlankIn(c, kLineBlanks); }

std::vector<std::wstring_view> blankSeparated(std::wstring_view text) {
  std::vector<std::wstring_view> parts;
  std::size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && isBlank(text[at])) {
      ++at;
    }
    const std::size_t start = at;
    while (at < text.size() && !isBlank(text[at])) {
      ++at;
    }
    if (at > start) {
      parts.push_back(text.substr(start, at - start));
    }
  }
  return parts;
}

}  // namespace

std::int32_t parseLength(std::wstring_view text, std::int32_t em) {
  if (text == L"0") {
    return 0;
  }
  const std::size_t numberEnd = numberPrefix(text);
  if (numberEnd == 0) {
    return kMalformedLength;
  }
  const double number = numberValue(text.substr(0, numberEnd));
  const std::wstring_view unit = text.substr(numberEnd);
  if (unit == L"em") {
    return roundedPixels(number * em);
  }
  if (unit == L"px") {
    return roundedPixels(number);
  }
  return kMalformedLength;
}

bool parseBoolean(std::wstring_view text) {
  if (equalsIgnoringCase(text, L"true")) {
    return true;
  }
  const std::optional<std::int32_t> number = parseInteger(text);
  return number && *number != 0;
}

void readBoxShorthand(std::wstring_view text, std::int32_t em, CBoxRect& box) {
  const std::vector<std::wstring_view> parts = blankSeparated(text);
  std::vector<std::int32_t> v;
  for (std::size_t i = 0; i < parts.size() && i < 4; ++i) {
    v.push_back(parseLength(parts[i], em));
  }
  switch (v.size()) {
    case 1:
      box = {v[0], v[0], v[0], v[0]};
      break;
    case 2:
      box = {v[1], v[0], v[1], v[0]};
      break;
    case 3:
      box = {v[1], v[0], v[1], v[2]};
      break;
    case 4:
      box = {v[3], v[0], v[1], v[2]};
      break;
    default:
      break;
  }
}

void readBoxProperty(const CDialogNode& node, std::wstring_view property, std::int32_t em, CBoxRect& box) {
  const std::wstring name(property);
  if (const std::wstring* shorthand = node.attribute(name)) {
    readBoxShorthand(*shorthand, em, box);
  }
  const struct {
    const wchar_t* suffix;
    std::int32_t CBoxRect::*side;
  } sides[] = {{L"-left", &CBoxRect::left},
               {L"-top", &CBoxRect::top},
               {L"-right", &CBoxRect::right},
               {L"-bottom", &CBoxRect::bottom}};
  for (const auto& side : sides) {
    if (const std::wstring* value = node.attribute(name + side.suffix)) {
      box.*(side.side) = parseLength(*value, em);
    }
  }
}
