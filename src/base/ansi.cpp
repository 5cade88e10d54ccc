#include "base/ansi.h"

#include <windows.h>

#include <climits>

#include "app/exception.h"

namespace {

int checkedLength(std::size_t size) {
  if (size > static_cast<std::size_t>(INT_MAX)) {
    throw XExceptionLength(L"The text is too long to be converted");
  }
  return static_cast<int>(size);
}

}  // namespace

std::string toCodePage(unsigned codePage, std::wstring_view text) {
  if (text.empty()) {
    return {};
  }
  const int length = checkedLength(text.size());
  const int size = ::WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) {
    return {};
  }
  std::string out(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(codePage, 0, text.data(), length, out.data(), size, nullptr, nullptr);
  return out;
}

std::string toAnsi(std::wstring_view text) { return toCodePage(CP_ACP, text); }

std::wstring fromAnsi(std::string_view text) {
  if (text.empty()) {
    return {};
  }
  const int length = checkedLength(text.size());
  const int size = ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (size <= 0) {
    return {};
  }
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, out.data(), size);
  return out;
}
