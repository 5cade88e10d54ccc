// Finding windows and controls, clicking and typing.
#include "support/ui_driver.h"

#include "support/polling.h"

namespace ui {
namespace {

// A window that does not answer a message within this time is hung; the
// driver reports failure instead of hanging the test with it.
constexpr UINT kAnswerTimeoutMs = 5000;

bool send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result = nullptr) {
  DWORD_PTR ignored = 0;
  return ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                               result ? result : &ignored) != 0;
}

// The caption as the system keeps it: no message is sent, so a busy or hung
// window cannot hold up the search.
std::wstring captionOf(HWND window) {
  wchar_t caption[512] = {};
  const int length = ::InternalGetWindowText(window, caption, static_cast<int>(std::size(caption)));
  return std::wstring(caption, length > 0 ? length : 0);
}

bool matches(HWND window, const CWindowQuery& query) {
  if (!::IsWindowVisible(window)) {
    return false;
  }
  if (query.processId != 0) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != query.processId) {
      return false;
    }
  }
  if (!query.className.empty() && windowClass(window) != query.className) {
    return false;
  }
  return query.caption.empty() || captionOf(window) == query.caption;
}

struct CSearch {
  const CWindowQuery* query;
  HWND found = nullptr;
};

BOOL CALLBACK collectMatch(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<CSearch*>(param);
  if (matches(window, *search->query)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK collectControl(HWND control, LPARAM param) {
  auto* controls = reinterpret_cast<std::vector<CControl>*>(param);
  controls->push_back(CControl{control, ::GetDlgCtrlID(control), windowClass(control), windowText(control),
                               ::IsWindowVisible(control) != FALSE, ::IsWindowEnabled(control) != FALSE});
  return TRUE;
}

bool clickable(const CControl& control) { return control.visible && control.enabled; }

POINT centreOf(HWND control) {
  RECT rect{};
  ::GetWindowRect(control, &rect);
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// A click reaches whatever window is at the point; a covered control cannot
// be clicked.
bool reachableAt(HWND control, POINT point) {
  HWND hit = ::WindowFromPoint(point);
  return hit == control || ::IsChild(control, hit);
}

bool mouseClick(HWND control) {
  const POINT centre = centreOf(control);
  if (!reachableAt(control, centre) || !::SetCursorPos(centre.x, centre.y)) {
    return false;
  }
  INPUT press[2] = {};
  press[0].type = INPUT_MOUSE;
  press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  press[1].type = INPUT_MOUSE;
  press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  return ::SendInput(2, press, sizeof(INPUT)) == 2;
}

bool click(const std::optional<CControl>& control, ClickBy how) {
  if (!control || !clickable(*control)) {
    return false;
  }
  if (how == ClickBy::Mouse) {
    return mouseClick(control->hwnd);
  }
  return send(control->hwnd, BM_CLICK, 0, 0);
}

}  // namespace

HWND waitForWindow(const CWindowQuery& query, DWORD timeoutMs) {
  return pollUntil(timeoutMs, [&]() -> HWND {
    CSearch search{&query};
    ::EnumWindows(collectMatch, reinterpret_cast<LPARAM>(&search));
    return search.found;
  });
}

bool waitWindowGone(HWND window, DWORD timeoutMs) {
  return pollUntil(timeoutMs, [&] { return !::IsWindow(window) || !::IsWindowVisible(window); });
}

// WM_GETTEXT, not GetWindowText: only the message reads the current content of
// another process's edit field.
std::wstring windowText(HWND window) {
  DWORD_PTR length = 0;
  if (!send(window, WM_GETTEXTLENGTH, 0, 0, &length)) {
    return {};
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), &copied)) {
    return {};
  }
  text.resize(copied);
  return text;
}

std::wstring windowClass(HWND window) {
  wchar_t name[256] = {};
  const int length = ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return std::wstring(name, length > 0 ? length : 0);
}

std::wstring withoutMnemonics(const std::wstring& text) {
  std::wstring result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) {
      ++i;
    }
    result += text[i];
  }
  return result;
}

std::vector<CControl> listControls(HWND window) {
  std::vector<CControl> controls;
  ::EnumChildWindows(window, collectControl, reinterpret_cast<LPARAM>(&controls));
  return controls;
}

std::optional<CControl> findControl(HWND window, const std::wstring& text) {
  const std::wstring wanted = withoutMnemonics(text);
  for (const CControl& control : listControls(window)) {
    if (withoutMnemonics(control.text) == wanted) {
      return control;
    }
  }
  return std::nullopt;
}

std::optional<CControl> findControl(HWND window, int id) {
  for (const CControl& control : listControls(window)) {
    if (control.id == id) {
      return control;
    }
  }
  return std::nullopt;
}

bool clickControl(HWND window, const std::wstring& text, ClickBy how) {
  const std::wstring wanted = withoutMnemonics(text);
  for (const CControl& control : listControls(window)) {
    if (control.className == L"Button" && withoutMnemonics(control.text) == wanted) {
      return click(control, how);
    }
  }
  return click(findControl(window, text), how);
}

bool clickControl(HWND window, int id, ClickBy how) { return click(findControl(window, id), how); }

bool typeText(HWND window, int editId, const std::wstring& text) {
  const std::optional<CControl> edit = findControl(window, editId);
  if (!edit || !clickable(*edit) || !send(edit->hwnd, EM_SETSEL, 0, -1)) {
    return false;
  }
  for (wchar_t unit : text) {
    if (!send(edit->hwnd, WM_CHAR, unit, 1)) {
      return false;
    }
  }
  return true;
}

}  // namespace ui
