// A library planted next to a program under test, under the name of a system
// library.  If it is ever loaded, it leaves "<its file name>.loaded" beside itself.
#include <windows.h>

#include <string>

#include "base/scoped_handle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) {
    return TRUE;
  }
  wchar_t path[MAX_PATH] = {};
  DWORD length = ::GetModuleFileNameW(instance, path, MAX_PATH);
  std::wstring marker = std::wstring(path, length) + L".loaded";
  CScopedFile(::CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return TRUE;
}
