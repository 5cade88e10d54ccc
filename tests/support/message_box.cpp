// Reading message boxes: their text, buttons and the standard icon they show.
#include <algorithm>

#include "support/polling.h"
#include "support/screen_pixels.h"
#include "support/ui_driver.h"

namespace ui {
namespace {

struct CStandardIcon {
  Icon icon;
  const wchar_t* resource;  // IDI_ERROR is IDI_HAND, IDI_WARNING IDI_EXCLAMATION...
};

const CStandardIcon kStandardIcons[] = {
    {Icon::Error, IDI_HAND},
    {Icon::Warning, IDI_EXCLAMATION},
    {Icon::Information, IDI_ASTERISK},
    {Icon::Question, IDI_QUESTION},
};

// Below this mean difference per channel the control shows that icon: the
// same icon drawn the same way differs by nothing, another one by far more.
constexpr double kSameIconDifference = 4.0;
// A freshly shown box may not have painted its icon yet.
constexpr DWORD kPaintTimeoutMs = 3000;

bool isIconControl(const CControl& control) {
  return control.className == L"Static" &&
         (::GetWindowLongW(control.hwnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

bool isTextControl(const CControl& control) {
  return control.className == L"Static" && !isIconControl(control) && control.visible;
}

HICON shownIcon(HWND iconControl) {
  DWORD_PTR icon = 0;
  ::SendMessageTimeoutW(iconControl, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &icon);
  return reinterpret_cast<HICON>(icon);
}

bool ownedHere(HWND window) {
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  return owner == ::GetCurrentProcessId();
}

// The standard icons are shared: in the owning process the handle is the one
// LoadIcon returns.
Icon iconFromHandle(HICON icon) {
  for (const CStandardIcon& standard : kStandardIcons) {
    if (icon == ::LoadIconW(nullptr, standard.resource)) {
      return standard.icon;
    }
  }
  return Icon::Other;
}

// Another process's icon handle is of no use here (GetIconInfo refuses it), so
// the control's pixels are compared with each standard icon drawn the way a
// static control draws one: its client area filled, the icon stretched over
// it.  The background is taken from the control's top left corner, which no
// standard icon covers.
std::optional<Icon> iconFromScreen(HWND iconControl) {
  RECT client{};
  ::GetClientRect(iconControl, &client);
  POINT origin{0, 0};
  ::ClientToScreen(iconControl, &origin);
  const std::optional<CPixels> shown =
      captureScreen(RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom});
  if (!shown) {
    return std::nullopt;
  }
  const uint32_t corner = shown->at(0, 0);
  const COLORREF background = RGB((corner >> 16) & 0xFF, (corner >> 8) & 0xFF, corner & 0xFF);
  for (const CStandardIcon& standard : kStandardIcons) {
    HICON icon = ::LoadIconW(nullptr, standard.resource);
    const std::optional<CPixels> drawn = drawOffScreen(shown->width, shown->height, background, [&](HDC dc) {
      ::DrawIconEx(dc, 0, 0, icon, shown->width, shown->height, 0, nullptr, DI_NORMAL);
    });
    if (drawn && meanDifference(*shown, *drawn) < kSameIconDifference) {
      return standard.icon;
    }
  }
  return std::nullopt;
}

}  // namespace

const wchar_t* iconName(Icon icon) {
  switch (icon) {
    case Icon::None: return L"none";
    case Icon::Error: return L"error";
    case Icon::Warning: return L"warning";
    case Icon::Information: return L"information";
    case Icon::Question: return L"question";
    case Icon::Other: return L"other";
  }
  return L"other";
}

Icon identifyIcon(HWND iconControl) {
  HICON icon = shownIcon(iconControl);
  if (!icon) {
    return Icon::None;
  }
  if (ownedHere(iconControl)) {
    return iconFromHandle(icon);
  }
  return pollUntil(kPaintTimeoutMs, [&] { return iconFromScreen(iconControl); }).value_or(Icon::Other);
}

std::optional<CMessageBox> readMessageBox(HWND window) {
  if (!::IsWindow(window) || windowClass(window) != L"#32770") {
    return std::nullopt;
  }
  CMessageBox box;
  box.hwnd = window;
  box.caption = windowText(window);
  std::vector<CControl> buttons;
  bool hasText = false;
  for (const CControl& control : listControls(window)) {
    if (isIconControl(control)) {
      box.icon = control.visible ? identifyIcon(control.hwnd) : Icon::None;
    } else if (isTextControl(control) && !hasText) {
      box.text = control.text;
      hasText = true;
    } else if (control.className == L"Button" && control.visible) {
      buttons.push_back(control);
    }
  }
  if (!hasText) {
    return std::nullopt;
  }
  std::sort(buttons.begin(), buttons.end(), [](const CControl& a, const CControl& b) {
    RECT ra{}, rb{};
    ::GetWindowRect(a.hwnd, &ra);
    ::GetWindowRect(b.hwnd, &rb);
    return ra.left < rb.left;
  });
  for (const CControl& button : buttons) {
    box.buttons.push_back(withoutMnemonics(button.text));
  }
  return box;
}

std::optional<CMessageBox> waitForMessageBox(const std::wstring& caption, DWORD timeoutMs, DWORD processId) {
  HWND window = waitForWindow(CWindowQuery{caption, L"#32770", processId}, timeoutMs);
  if (!window) {
    return std::nullopt;
  }
  return readMessageBox(window);
}

std::wstring messageBoxText(HWND window) {
  const std::optional<CMessageBox> box = readMessageBox(window);
  return box ? box->text : std::wstring();
}

Icon messageBoxIcon(HWND window) {
  const std::optional<CMessageBox> box = readMessageBox(window);
  return box ? box->icon : Icon::Other;
}

}  // namespace ui
