#include "support/paths.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace support {

std::wstring windowsPathOf(const std::string& unixPath) {
  std::wstring path = L"Z:";
  for (char c : unixPath) {
    path += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
  }
  while (path.size() > 3 && path.back() == L'\\') {
    path.pop_back();
  }
  return path;
}

std::wstring buildDir() {
  const char* dir = std::getenv("BRANTEL_BUILD_DIR");
  return dir && *dir ? windowsPathOf(dir) : std::wstring();
}

std::wstring testDataDir() {
#ifdef BRANTEL_TEST_DATA
  return windowsPathOf(BRANTEL_TEST_DATA);
#else
  return {};
#endif
}

namespace {

// Unique within the process by the counter, across processes by the pid.
std::wstring newTempFolderName() {
  static std::atomic<unsigned> counter{0};
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
  std::wstring base(temp, length);
  return base + L"brantel-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
         std::to_wstring(counter++);
}

}  // namespace

CTempFolder::CTempFolder() : path_(newTempFolderName()) {
  std::filesystem::remove_all(path_);
  if (!::CreateDirectoryW(path_.c_str(), nullptr)) {
    throw std::runtime_error("cannot create a temporary folder");
  }
}

CTempFolder::~CTempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace support
