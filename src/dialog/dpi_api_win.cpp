#include "dialog/dpi_api_win.h"

#include "dialog/dialog_model.h"
#include "frame/dll_safety.h"

namespace {

constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
constexpr int kPerMonitorDpiAware = 2;  // PROCESS_PER_MONITOR_DPI_AWARE

HWND topLevelOf(HWND window) {
  while (window && (::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD)) {
    window = ::GetParent(window);
  }
  return window;
}

}  // namespace

const CDpiApi& CDpiApi::instance() {
  static const CDpiApi api;
  return api;
}

CDpiApi::CDpiApi() : shcore_(frame::loadSystemLibrary(L"shcore.dll")), user32_(frame::loadSystemLibrary(L"user32.dll")) {
  getDpiForMonitor_ = frame::systemFunction<GetDpiForMonitorFn>(shcore_.get(), "GetDpiForMonitor");
  enableChildWindowDpiMessage_ =
      frame::systemFunction<EnableChildWindowDpiMessageFn>(user32_.get(), "EnableChildWindowDpiMessage");
  enableNonClientDpiScaling_ =
      frame::systemFunction<EnableNonClientDpiScalingFn>(user32_.get(), "EnableNonClientDpiScaling");
  const auto getProcessDpiAwareness =
      frame::systemFunction<GetProcessDpiAwarenessFn>(shcore_.get(), "GetProcessDpiAwareness");
  int awareness = 0;
  perMonitorAware_ = getProcessDpiAwareness && SUCCEEDED(getProcessDpiAwareness(nullptr, &awareness)) &&
                     awareness == kPerMonitorDpiAware;
}

int CDpiApi::windowDpi(HWND window) const noexcept {
  UINT x = 0;
  UINT y = 0;
  const HMONITOR monitor = ::MonitorFromWindow(topLevelOf(window), MONITOR_DEFAULTTONEAREST);
  if (!getDpiForMonitor_ || FAILED(getDpiForMonitor_(monitor, kEffectiveDpi, &x, &y)) || y == 0) {
    return kDefaultDpi;
  }
  return static_cast<int>(y);
}

void CDpiApi::enableScaling(HWND window) const noexcept {
  if (!perMonitorAware_) {
    return;
  }
  if (enableNonClientDpiScaling_) {
    enableNonClientDpiScaling_(window);
  }
  if (enableChildWindowDpiMessage_) {
    enableChildWindowDpiMessage_(window, TRUE);
  }
}
