// How long a markup dialog takes to appear under Wine: from loading its
// markup to the window shown and painted with all its controls, for the
// wizard frame and for the largest page of ui/, beside a plain Win32 dialog
// of the same controls (classes, count and sizes) shown by DialogBoxParam
// from a resource template (dialog_bench.rc).  Both are timed the same way:
// a hook sees the dialog become visible, paints it and its controls at once,
// stops the clock and ends the dialog.
//
//   dialog_bench.exe [ROUNDS]   the figures, median of ROUNDS (default 50)
//   dialog_bench.exe --dump     the controls of each page as .rc statements,
//                               from which dialog_bench.rc was written, then
//                               those of the plain dialogs, to compare
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "dialog/xdlg.h"
#include "dialog_bench_ids.h"

namespace {

using Clock = std::chrono::steady_clock;

// The page markups of ui/ (the wizard frame and stddlg.xml are no pages).
const char* const kPages[] = {
    "dlg/welcome.xml", "dlg/hasupdate.xml", "dlg/already-installed.xml", "dlg/finish.xml",
    "dlg/msg-cant-check-version.xml", "dlg/need-restart.xml", "dlg/downloading.xml",
};
constexpr char kWizard[] = "dlg/wiz.xml";

// One timed showing: the dialog the hook waits for, and when it was done.
struct CShowing {
  Clock::time_point shown{};
  bool done = false;
  void (*onShown)(HWND dialog) = nullptr;
};
thread_local CShowing* g_showing = nullptr;

bool isDialogWindow(HWND window) {
  wchar_t className[16]{};
  ::GetClassNameW(window, className, 16);
  return std::wcscmp(className, L"#32770") == 0 && !(::GetWindowLongW(window, GWL_STYLE) & WS_CHILD);
}

// The moment the dialog becomes visible: everything it and its controls
// still have to paint is painted now, then the dialog ends.
LRESULT CALLBACK watchShowing(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && g_showing && !g_showing->done && call->message == WM_WINDOWPOSCHANGED &&
      (reinterpret_cast<const WINDOWPOS*>(call->lParam)->flags & SWP_SHOWWINDOW) && isDialogWindow(call->hwnd)) {
    ::RedrawWindow(call->hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASENOW | RDW_ALLCHILDREN);
    g_showing->shown = Clock::now();
    g_showing->done = true;
    if (g_showing->onShown) {
      g_showing->onShown(call->hwnd);
    }
    ::EndDialog(call->hwnd, IDOK);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class CShowingHook {
public:
  CShowingHook() : hook_(::SetWindowsHookExW(WH_CALLWNDPROCRET, &watchShowing, nullptr, ::GetCurrentThreadId())) {}
  ~CShowingHook() { ::UnhookWindowsHookEx(hook_); }
  CShowingHook(const CShowingHook&) = delete;
  CShowingHook& operator=(const CShowingHook&) = delete;
  explicit operator bool() const noexcept { return hook_ != nullptr; }

private:
  HHOOK hook_;
};

BOOL CALLBACK endDialogWindow(HWND window, LPARAM) {
  if (isDialogWindow(window)) {
    ::EndDialog(window, IDCANCEL);
  }
  return TRUE;
}

// A dialog that the hook never saw appear is ended after a while, so that a
// missed showing ends the run with a message instead of hanging it.
void CALLBACK giveUp(HWND, UINT, UINT_PTR, DWORD) {
  ::EnumThreadWindows(::GetCurrentThreadId(), &endDialogWindow, 0);
}

constexpr UINT kGiveUpMs = 20000;

// Runs show() with the hook watching; answers the milliseconds from the
// call to the dialog shown, or a negative number when it never showed.
template <typename Show>
double timedShowing(Show show, void (*onShown)(HWND) = nullptr) {
  CShowing showing;
  showing.onShown = onShown;
  g_showing = &showing;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, kGiveUpMs, &giveUp);
  const Clock::time_point start = Clock::now();
  show();
  ::KillTimer(nullptr, timer);
  g_showing = nullptr;
  return showing.done ? std::chrono::duration<double, std::milli>(showing.shown - start).count() : -1;
}

double showMarkup(const char* markup, void (*onShown)(HWND) = nullptr) {
  return timedShowing(
      [markup] {
        XDlg dialog(markup, nullptr);
        dialog.DoModal();
      },
      onShown);
}

INT_PTR CALLBACK plainDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

double showTemplate(int templateId, void (*onShown)(HWND) = nullptr) {
  return timedShowing(
      [templateId] {
        ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), nullptr, &plainDialogProc, 0);
      },
      onShown);
}

// --- the largest page ---------------------------------------------------

int g_controlCount = 0;

void countControls(HWND dialog) {
  g_controlCount = 0;
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    ++g_controlCount;
  }
}

const char* largestPage() {
  const char* largest = kPages[0];
  int most = -1;
  for (const char* page : kPages) {
    showMarkup(page, &countControls);
    std::printf("  %-32s %2d controls\n", page, g_controlCount);
    if (g_controlCount > most) {
      most = g_controlCount;
      largest = page;
    }
  }
  return largest;
}

// --- the .rc statements of a page ---------------------------------------

std::string rcText(HWND window) {
  wchar_t text[512]{};
  ::GetWindowTextW(window, text, 512);
  std::string quoted = "\"";
  for (const wchar_t* c = text; *c; ++c) {
    if (*c == L'"') {
      quoted += "\"\"";
    } else if (*c < 0x80) {
      quoted += static_cast<char>(*c);
    } else {
      quoted += '?';
    }
  }
  return quoted + "\"";
}

// Pixels to dialog units of the dialog's font, the reverse of MapDialogRect.
RECT toDialogUnits(HWND dialog, RECT pixels) {
  RECT base{4, 8, 0, 0};
  ::MapDialogRect(dialog, &base);
  return {::MulDiv(pixels.left, 4, base.left), ::MulDiv(pixels.top, 8, base.top),
          ::MulDiv(pixels.right - pixels.left, 4, base.left), ::MulDiv(pixels.bottom - pixels.top, 8, base.top)};
}

void dumpTemplate(HWND dialog) {
  RECT client{};
  ::GetClientRect(dialog, &client);
  const RECT size = toDialogUnits(dialog, client);
  std::printf("STYLE 0x%08lX\nEXSTYLE 0x%08lX\nCAPTION %s\nSIZE %ld x %ld\nBEGIN\n",
              ::GetWindowLongW(dialog, GWL_STYLE) & ~WS_VISIBLE, ::GetWindowLongW(dialog, GWL_EXSTYLE),
              rcText(dialog).c_str(), size.right, size.bottom);
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    wchar_t className[64]{};
    ::GetClassNameW(child, className, 64);
    RECT place{};
    ::GetWindowRect(child, &place);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    const RECT units = toDialogUnits(dialog, place);
    const DWORD style = ::GetWindowLongW(child, GWL_STYLE);
    std::printf("  CONTROL %s, %d, \"%ls\", %s0x%08lX, %ld, %ld, %ld, %ld, 0x%08lX\n", rcText(child).c_str(),
                ::GetDlgCtrlID(child), className, (style & WS_VISIBLE) ? "" : "NOT WS_VISIBLE | ", style,
                units.left, units.top, units.right, units.bottom, ::GetWindowLongW(child, GWL_EXSTYLE));
  }
  std::printf("END\n");
}

// --- the figures --------------------------------------------------------

struct CFigures {
  double first = 0;
  double median = 0;
};

template <typename Show>
CFigures measure(Show show, int rounds) {
  CFigures figures;
  figures.first = show();
  std::vector<double> times;
  for (int round = 0; round < rounds; ++round) {
    times.push_back(show());
  }
  std::sort(times.begin(), times.end());
  figures.median = times[times.size() / 2];
  if (figures.first < 0 || times.front() < 0) {
    std::printf("a dialog did not show\n");
    std::exit(1);
  }
  return figures;
}

void compare(const char* what, const char* markup, int templateId, int rounds) {
  const CFigures markupFigures = measure([markup] { return showMarkup(markup); }, rounds);
  const CFigures plainFigures = measure([templateId] { return showTemplate(templateId); }, rounds);
  std::printf("%-26s XDlg %7.2f ms  plain %7.2f ms  ratio %5.2f   (first showing: %.2f / %.2f ms)\n", what,
              markupFigures.median, plainFigures.median, markupFigures.median / plainFigures.median,
              markupFigures.first, plainFigures.first);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&controls);
  const CShowingHook hook;
  if (!hook) {
    std::printf("the window hook could not be set\n");
    return 1;
  }
  const bool dump = argc > 1 && std::wcscmp(argv[1], L"--dump") == 0;
  const int rounds = argc > 1 && !dump ? std::max(1, _wtoi(argv[1])) : 50;
  try {
    std::printf("the pages of ui/:\n");
    const char* page = largestPage();
    std::printf("the largest page: %s\n\n", page);
    if (dump) {
      for (const char* markup : {kWizard, page}) {
        std::printf("// %s\n", markup);
        showMarkup(markup, &dumpTemplate);
      }
      for (const int templateId : {kWizardTemplate, kLargestPageTemplate}) {
        std::printf("// plain template %d\n", templateId);
        showTemplate(templateId, &dumpTemplate);
      }
      return 0;
    }
    std::printf("from loading the markup to the dialog shown and painted, median of %d:\n", rounds);
    compare(kWizard, kWizard, kWizardTemplate, rounds);
    compare(page, page, kLargestPageTemplate, rounds);
  } catch (const XException& error) {
    std::printf("failed: %ls\n", error.getText().c_str());
    return 1;
  }
  return 0;
}
