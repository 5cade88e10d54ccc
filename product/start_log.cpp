#include "product/start_log.h"

#include <windows.h>

#include "base/path_join.h"
#include "base/utf8.h"
#include "base/scoped_handle.h"

namespace product {

std::wstring startLogPath() {
  wchar_t buffer[MAX_PATH + 1] = {};
  const DWORD named = ::GetEnvironmentVariableW(L"BRANTEL_PRODUCT_LOG", buffer, MAX_PATH + 1);
  if (named > 0 && named <= MAX_PATH) {
    return buffer;
  }
  const DWORD temporary = ::GetTempPathW(MAX_PATH + 1, buffer);
  return joinPath(temporary > 0 && temporary <= MAX_PATH ? buffer : L".", L"Brantel product starts.log");
}

void recordStart(const std::wstring& switches) {
  const CScopedFile log(::CreateFileW(startLogPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!log) {
    return;
  }
  const std::string line = toUtf8(switches) + "\r\n";
  DWORD written = 0;
  ::WriteFile(log.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace product
