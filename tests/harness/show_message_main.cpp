// harness_show_message.exe CAPTION TEXT FLAGS: shows one message box and ends
// with its result (IDOK...), for tests that read a box of another process.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    return 255;
  }
  const UINT flags = static_cast<UINT>(std::wcstoul(argv[3], nullptr, 0));
  return ::MessageBoxW(nullptr, argv[2], argv[1], flags);
}
