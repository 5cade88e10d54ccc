// The DPI functions that only newer systems have, looked up by name once for
// the process; each is used only where it was found.
#pragma once

#include <windows.h>

#include "base/scoped_handle.h"

class CDpiApi {
public:
  static const CDpiApi& instance();

  // True when the process follows each monitor's DPI (awareness 2).
  bool perMonitorAware() const noexcept { return perMonitorAware_; }
  // The effective DPI of the monitor nearest to the window's top-level
  // ancestor; 96 when the system cannot tell.
  int windowDpi(HWND window) const noexcept;
  // Lets a window that is being created scale its frame and hear of DPI
  // changes in its children; nothing unless the process is per-monitor aware.
  void enableScaling(HWND window) const noexcept;

private:
  using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  using GetProcessDpiAwarenessFn = HRESULT(WINAPI*)(HANDLE, int*);
  using EnableChildWindowDpiMessageFn = BOOL(WINAPI*)(HWND, BOOL);
  using EnableNonClientDpiScalingFn = BOOL(WINAPI*)(HWND);

  CDpiApi();

  CScopedModule shcore_;
  CScopedModule user32_;
  GetDpiForMonitorFn getDpiForMonitor_ = nullptr;
  EnableChildWindowDpiMessageFn enableChildWindowDpiMessage_ = nullptr;
  EnableNonClientDpiScalingFn enableNonClientDpiScaling_ = nullptr;
  bool perMonitorAware_ = false;
};
