// A stand-in program for tests: every start appends one line to "record.txt"
// beside the executable: the command-line tail, a tab, the working directory.
#include <windows.h>

#include <string>

#include "base/scoped_handle.h"

namespace {

std::wstring folderOfThisProgram() {
  wchar_t path[MAX_PATH] = {};
  DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::string utf8(const std::wstring& text) {
  int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                   nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR tail, int) {
  wchar_t directory[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, directory);
  std::string line = utf8(std::wstring(tail ? tail : L"") + L"\t" + directory + L"\n");

  CScopedFile record(::CreateFileW((folderOfThisProgram() + L"record.txt").c_str(), FILE_APPEND_DATA,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                   nullptr));
  if (!record) {
    return 1;
  }
  DWORD written = 0;
  ::WriteFile(record.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  return 0;
}
