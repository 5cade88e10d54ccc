#include "dialog/markup_text.h"

namespace {

wchar_t lowerLetter(wchar_t c) noexcept { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool isWhiteSpace(wchar_t c) noexcept { return c == L'\t' || c == L'\n' || c == L'\r' || c == L' '; }

}  // namespace

std::wstring lowerCase(std::wstring_view text) {
  std::wstring lower(text);
  for (wchar_t& c : lower) {
    c = lowerLetter(c);
  }
  return lower;
}

bool equalsIgnoringCase(std::wstring_view a, std::wstring_view b) noexcept {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowerLetter(a[i]) != lowerLetter(b[i])) {
      return false;
    }
  }
  return true;
}

std::wstring_view trimWhiteSpace(std::wstring_view text) noexcept {
  while (!text.empty() && isWhiteSpace(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && isWhiteSpace(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}
