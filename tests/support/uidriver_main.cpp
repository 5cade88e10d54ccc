// uidriver.exe: the UI driver for scripts, run in the prefix of the program it
// looks at (see scripts/wine-prefix.sh).
//
//   uidriver.exe wait       WINDOW                  waits for it; prints its handle
//   uidriver.exe controls   WINDOW                  id, class, visible, enabled, text per line
//   uidriver.exe texts      WINDOW                  the texts of its visible controls
//   uidriver.exe click      WINDOW (--text T | --id N) [--message]
//   uidriver.exe type       WINDOW --id N --text T
//   uidriver.exe gone       WINDOW                  waits until no such window is shown
//   uidriver.exe msgbox     [--caption T] [--pid N] [--timeout MS]
//                                                   caption, text, icon and buttons
//   uidriver.exe screenshot FILE                    .png through WIC, else .bmp
//
// WINDOW is [--caption T] [--class C] [--pid N] [--timeout MS] (default
// 10000 ms).  Exit code 0 on success, 1 when the window or control is not
// there, 2 on a usage error.  Output is UTF-8, one line per item ("key<TAB>
// value" for msgbox and wait, tab-separated fields for controls); line breaks
// inside a text are written as "\n".
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>

#include "support/ui_driver.h"

using namespace ui;

namespace {

enum : int { kDone = 0, kNotFound = 1, kUsage = 2 };

void print(const std::wstring& line) {
  std::wstring escaped;
  for (wchar_t c : line) {
    if (c == L'\n') {
      escaped += L"\\n";
    } else if (c != L'\r') {
      escaped += c;
    }
  }
  escaped += L'\n';
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, escaped.data(), static_cast<int>(escaped.size()), nullptr,
                                          0, nullptr, nullptr);
  std::string utf8(bytes, '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, escaped.data(), static_cast<int>(escaped.size()), utf8.data(), bytes, nullptr,
                        nullptr);
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fflush(stdout);
}

struct CCommand {
  std::wstring name;
  std::wstring file;  // the one positional argument (screenshot)
  std::map<std::wstring, std::wstring> options;
  bool valid = true;

  bool has(const std::wstring& option) const { return options.count(option) != 0; }
  std::wstring get(const std::wstring& option, const std::wstring& fallback = {}) const {
    auto found = options.find(option);
    return found == options.end() ? fallback : found->second;
  }
  unsigned long number(const std::wstring& option, unsigned long fallback) const {
    return has(option) ? std::wcstoul(get(option).c_str(), nullptr, 0) : fallback;
  }
};

CCommand parse(int argc, wchar_t** argv) {
  CCommand command;
  if (argc < 2) {
    command.valid = false;
    return command;
  }
  command.name = argv[1];
  for (int i = 2; i < argc; ++i) {
    std::wstring arg = argv[i];
    if (arg == L"--message") {
      command.options[arg] = L"1";
    } else if (arg.rfind(L"--", 0) == 0 && i + 1 < argc) {
      command.options[arg] = argv[++i];
    } else if (arg.rfind(L"--", 0) != 0 && command.file.empty()) {
      command.file = arg;
    } else {
      command.valid = false;
    }
  }
  return command;
}

DWORD timeoutOf(const CCommand& command) { return command.number(L"--timeout", kDefaultTimeoutMs); }

HWND windowOf(const CCommand& command) {
  CWindowQuery query{command.get(L"--caption"), command.get(L"--class"),
                               static_cast<DWORD>(command.number(L"--pid", 0))};
  return waitForWindow(query, timeoutOf(command));
}

int waitCommand(const CCommand& command) {
  HWND window = windowOf(command);
  if (!window) {
    return kNotFound;
  }
  wchar_t handle[32];
  std::swprintf(handle, 32, L"0x%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
  print(std::wstring(L"window\t") + handle);
  return kDone;
}

int controlsCommand(const CCommand& command) {
  HWND window = windowOf(command);
  if (!window) {
    return kNotFound;
  }
  for (const CControl& control : listControls(window)) {
    print(std::to_wstring(control.id) + L"\t" + control.className + L"\t" + (control.visible ? L"visible" : L"hidden") +
          L"\t" + (control.enabled ? L"enabled" : L"disabled") + L"\t" + control.text);
  }
  return kDone;
}

int textsCommand(const CCommand& command) {
  HWND window = windowOf(command);
  if (!window) {
    return kNotFound;
  }
  for (const CControl& control : listControls(window)) {
    if (control.visible && !control.text.empty()) {
      print(withoutMnemonics(control.text));
    }
  }
  return kDone;
}

int clickCommand(const CCommand& command) {
  if (command.has(L"--text") == command.has(L"--id")) {
    return kUsage;
  }
  HWND window = windowOf(command);
  const auto how = command.has(L"--message") ? ClickBy::Message : ClickBy::Mouse;
  const bool clicked = window && (command.has(L"--id")
                                      ? clickControl(window, static_cast<int>(command.number(L"--id", 0)), how)
                                      : clickControl(window, command.get(L"--text"), how));
  return clicked ? kDone : kNotFound;
}

int typeCommand(const CCommand& command) {
  if (!command.has(L"--id") || !command.has(L"--text")) {
    return kUsage;
  }
  HWND window = windowOf(command);
  const bool typed =
      window && typeText(window, static_cast<int>(command.number(L"--id", 0)), command.get(L"--text"));
  return typed ? kDone : kNotFound;
}

int goneCommand(const CCommand& command) {
  HWND window = windowOf(command);
  return !window || waitWindowGone(window, timeoutOf(command)) ? kDone : kNotFound;
}

int msgboxCommand(const CCommand& command) {
  const auto box = waitForMessageBox(command.get(L"--caption", L"Brantel"), timeoutOf(command),
                                            static_cast<DWORD>(command.number(L"--pid", 0)));
  if (!box) {
    return kNotFound;
  }
  print(L"caption\t" + box->caption);
  print(L"text\t" + box->text);
  print(std::wstring(L"icon\t") + iconName(box->icon));
  for (const std::wstring& button : box->buttons) {
    print(L"button\t" + button);
  }
  return kDone;
}

int screenshotCommand(const CCommand& command) {
  if (command.file.empty()) {
    return kUsage;
  }
  return saveScreenshot(command.file) ? kDone : kNotFound;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const CCommand command = parse(argc, argv);
  static const std::map<std::wstring, int (*)(const CCommand&)> commands = {
      {L"wait", waitCommand},     {L"controls", controlsCommand}, {L"texts", textsCommand},
      {L"click", clickCommand},   {L"type", typeCommand},         {L"gone", goneCommand},
      {L"msgbox", msgboxCommand}, {L"screenshot", screenshotCommand},
  };
  auto handler = commands.find(command.name);
  if (!command.valid || handler == commands.end()) {
    std::fputs("usage: uidriver.exe wait|controls|texts|click|type|gone|msgbox|screenshot ... (see uidriver_main.cpp)\n",
               stderr);
    return kUsage;
  }
  return handler->second(command);
}
