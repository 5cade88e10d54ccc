#include "app/exception.h"
#include "app/system_text.h"
#include "base/scoped_handle.h"

#include <windows.h>

#include <algorithm>

namespace {

// The message of one table (the system's, or a module's); empty when the
// table has none for the code.
std::wstring messageFromTable(DWORD source, HMODULE module, std::uint32_t code) {
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      source | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS, module, code,
      MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  const CScopedLocalMem owner(text);  // FormatMessage allocated it
  if (length == 0 || text == nullptr) {
    return {};
  }
  return std::wstring(text, length);
}

// The module whose message table holds the network library's error texts.
// It is looked up once and kept for the process.  When the network library is
// not loaded yet, it is loaded from the system folder only, never from the
// program's own folder, where a planted copy could lie next to the setup.
class CWininetMessages {
public:
  CWininetMessages() : module_(::GetModuleHandleW(L"wininet.dll")) {
    if (module_ == nullptr) {
      loadedHere_.reset(::LoadLibraryExW(L"wininet.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
      module_ = loadedHere_.get();
    }
  }
  HMODULE module() const { return module_; }

private:
  HMODULE module_;
  CScopedModule loadedHere_;  // set only when this object loaded the library
};

HMODULE wininetModule() {
  static const CWininetMessages messages;
  return messages.module();
}

// Message texts end in "\r\n" and may span lines; the setup shows them on one.
std::wstring onOneLine(std::wstring text) {
  text.erase(std::remove(text.begin(), text.end(), L'\r'), text.end());
  std::replace(text.begin(), text.end(), L'\n', L' ');
  return text;
}

}  // namespace

std::wstring systemErrorText(std::uint32_t code) {
  std::wstring text = messageFromTable(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code);
  if (text.empty()) {
    if (HMODULE wininet = wininetModule()) {
      text = messageFromTable(FORMAT_MESSAGE_FROM_HMODULE, wininet, code);
    }
  }
  if (text.empty()) {
    text = L"System error " + std::to_wstring(code);
  }
  return onOneLine(std::move(text));
}

std::uint32_t lastSystemError() { return ::GetLastError(); }

std::wstring ownModuleString(unsigned resourceId) {
  // String resources are numbered with 16 bits; a larger number would be cut
  // to another string's.
  if (resourceId > 0xFFFF) {
    return {};
  }
  // With a buffer length of 0, LoadString hands out a pointer to the resource
  // itself and its length; the string need not be terminated there.
  const wchar_t* resource = nullptr;
  const int length =
      ::LoadStringW(::GetModuleHandleW(nullptr), resourceId, reinterpret_cast<LPWSTR>(&resource), 0);
  if (length <= 0 || resource == nullptr) {
    return {};
  }
  return std::wstring(resource, static_cast<std::size_t>(length));
}
