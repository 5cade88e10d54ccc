// Brantel.exe, the stand-in product: it plays the product's side of every
// exchange with the setup, and nothing more.
//
//   Brantel.exe [/justinstalled | /regrun] [--ignore-exit]
//       runs until asked to exit: publishes the product block with its
//       process id and main window, and ends on the exit message or when the
//       setup's exit request appears in the block (--ignore-exit: never).
//       Every start is noted in the start log (start_log.h).
//   Brantel.exe /uninstall /section:GUID
//       removes the installation it belongs to and ends; a start that is not
//       elevated first restarts itself elevated (uninstall_elevation.h).
#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>
#include <vector>

#include "app/product_interface.h"
#include "base/guid.h"
#include "base/process_elevation.h"
#include "base/scoped_handle.h"
#include "product/product_block.h"
#include "product/start_log.h"
#include "product/uninstall.h"
#include "product/uninstall_elevation.h"

namespace {

constexpr UINT_PTR kExitPollTimer = 1;
constexpr UINT kExitPollMs = 200;

struct CArguments {
  bool uninstall = false;
  std::optional<CGuid> section;
  bool ignoreExit = false;
  std::wstring switches;  // as noted in the start log
};

bool hasPrefix(const std::wstring& text, std::wstring_view prefix) {
  return text.size() >= prefix.size() &&
         ::CompareStringOrdinal(text.c_str(), static_cast<int>(prefix.size()), prefix.data(),
                                static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

CArguments parseArguments() {
  CArguments arguments;
  int count = 0;
  LPWSTR* words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  const CScopedLocalMem owner(words);
  const std::wstring sectionSwitch = std::wstring(product::kSwitchSection) + L":";
  const std::wstring uninstallWithSection = std::wstring(product::kSwitchUninstall) + L":";
  for (int i = 1; words && i < count; ++i) {
    const std::wstring word = words[i];
    if (!arguments.switches.empty()) {
      arguments.switches += L' ';
    }
    arguments.switches += word;
    if (word == L"--ignore-exit") {
      arguments.ignoreExit = true;
    } else if (hasPrefix(word, sectionSwitch)) {
      arguments.section = parseGuid(word.substr(sectionSwitch.size()));
    } else if (hasPrefix(word, uninstallWithSection)) {
      // The uninstall shortcut's form, "/uninstall:guid".
      arguments.uninstall = true;
      arguments.section = parseGuid(word.substr(uninstallWithSection.size()));
    } else if (::CompareStringOrdinal(word.c_str(), -1, product::kSwitchUninstall, -1, TRUE) == CSTR_EQUAL) {
      arguments.uninstall = true;
    }
  }
  return arguments;
}

std::wstring ownExecutablePath() {
  std::vector<wchar_t> path(MAX_PATH);
  DWORD length = 0;
  while ((length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) == path.size()) {
    path.resize(path.size() * 2);
  }
  return std::wstring(path.data(), length);
}

std::wstring folderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

struct CWindowState {
  bool ignoreExit = false;
  const product::CProductBlock* block = nullptr;
};

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<CWindowState*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  const bool exitMessage = message == product::kExitMessage && wParam == product::kExitMessageWParam;
  const bool exitWritten = message == WM_TIMER && wParam == kExitPollTimer && state && state->block &&
                           state->block->exitRequested();
  if ((exitMessage || exitWritten) && state && !state->ignoreExit) {
    ::DestroyWindow(window);
    return 0;
  }
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND createMainWindow(HINSTANCE instance, CWindowState& state) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &windowProcedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"BrantelStandInProduct";
  ::RegisterClassW(&windowClass);
  HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, product::kName, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 320, 200, nullptr, nullptr, instance, nullptr);
  if (window) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
  }
  return window;
}

int runUntilAskedToExit(HINSTANCE instance, bool ignoreExit) {
  CWindowState state;
  state.ignoreExit = ignoreExit;
  HWND window = createMainWindow(instance, state);
  if (!window) {
    return 1;
  }
  const product::CProductBlock block(window);
  state.block = &block;
  ::SetTimer(window, kExitPollTimer, kExitPollMs, nullptr);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLineTail, int) {
  const CArguments arguments = parseArguments();
  product::recordStart(arguments.switches);
  if (arguments.uninstall) {
    if (!arguments.section) {
      return 2;
    }
    if (!isProcessElevated()) {
      return product::uninstallElevated(ownExecutablePath(), commandLineTail ? commandLineTail : L"");
    }
    product::uninstallProduct(folderOf(ownExecutablePath()), *arguments.section);
    return 0;
  }
  return runUntilAskedToExit(instance, arguments.ignoreExit);
}
