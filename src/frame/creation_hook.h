// Attaches a window to its CWnd object while the window is being made, so
// that the object sees the window's first message (WM_NCCREATE) too: a
// dialog's procedure, or a class's, would only reach it after creation.
#pragma once

#include <windows.h>

#include "base/scoped_handle.h"

namespace frame {

class CWnd;

// The owner's rules for a hook handle (base/scoped_handle.h).
struct CWindowsHookTraits {
  using Handle = HHOOK;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept { ::UnhookWindowsHookEx(h); }
};

// While it lives, the next window this thread makes (the system's input
// method windows aside) is attached to `window` before its first message.
// Throws XExceptionDlg when the hook cannot be set.
class CCreationHook {
public:
  explicit CCreationHook(CWnd& window);
  ~CCreationHook();
  CCreationHook(const CCreationHook&) = delete;
  CCreationHook& operator=(const CCreationHook&) = delete;

private:
  CWnd* previous_;
  TScopedHandle<CWindowsHookTraits> hook_;
};

}  // namespace frame
