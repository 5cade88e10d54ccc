// A program that links the whole network client and nothing of the tests,
// for check-hidden-words.sh: whatever the client keeps in plain text shows in
// this file.  Run with any argument it does nothing; it is never run with
// the one that would start a check.
#include <windows.h>

#include <cwchar>

#include "net/http_client.h"
#include "net/version_check.h"
#include "net/version_checker.h"

int wmain(int argc, wchar_t** argv) {
  if (argc == 2 && std::wcscmp(argv[1], L"--check-now") == 0) {
    const CGuid product{};
    const auto checker = setup::StartVersionCheck(nullptr, product);
    checker->waitForEnd(INFINITE);
    return net::CheckVersion(product, "").success && http::PostForm(L"", "") ? 0 : 1;
  }
  return 0;
}
