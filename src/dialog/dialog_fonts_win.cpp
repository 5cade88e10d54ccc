#include "dialog/dialog_fonts_win.h"

#include "app/exception.h"
#include "base/gdi_handles.h"
#include "frame/dll_safety.h"

namespace {

// Windows 10 answers how this thread sees DPI; Windows 8.1 has no such
// function and a process there is never aware of each monitor's DPI.
bool perMonitorAware() {
  using GetContext = DPI_AWARENESS_CONTEXT(WINAPI*)();
  using GetAwareness = DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT);
  const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  static const auto getContext = frame::systemFunction<GetContext>(user32, "GetThreadDpiAwarenessContext");
  static const auto getAwareness = frame::systemFunction<GetAwareness>(user32, "GetAwarenessFromDpiAwarenessContext");
  return getContext && getAwareness && getAwareness(getContext()) == DPI_AWARENESS_PER_MONITOR_AWARE;
}

int screenDpiY() {
  CScopedScreenDC screen(::GetDC(nullptr));
  return screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : USER_DEFAULT_SCREEN_DPI;
}

LOGFONTW describe(HFONT font) {
  LOGFONTW description{};
  if (::GetObjectW(font, sizeof description, &description) != sizeof description) {
    throw XExceptionGeneral(L"The dialog font cannot be read.");
  }
  return description;
}

CScopedFont fontFrom(const LOGFONTW& description) {
  CScopedFont font(::CreateFontIndirectW(&description));
  if (!font) {
    throw XExceptionGeneral(L"A font of the dialog cannot be created.");
  }
  return font;
}

CFontMetrics metricsOf(HFONT font) {
  CScopedScreenDC screen(::GetDC(nullptr));
  CScopedSelection selection(screen.get(), font);
  TEXTMETRICW metrics{};
  if (!::GetTextMetricsW(screen.get(), &metrics)) {
    throw XExceptionGeneral(L"The dialog font cannot be measured.");
  }
  return {metrics.tmHeight, metrics.tmAveCharWidth};
}

}  // namespace

CScopedFont makeDialogFont(const std::wstring& face, std::uint16_t pointSize, int dpi) {
  LOGFONTW description{};
  description.lfHeight = -::MulDiv(pointSize, dpi, 72);
  description.lfWeight = FW_NORMAL;
  description.lfCharSet = DEFAULT_CHARSET;
  ::lstrcpynW(description.lfFaceName, face.c_str(), LF_FACESIZE);
  return fontFrom(description);
}

CBoxSize textExtent(HFONT font, const std::wstring& text) {
  CScopedScreenDC screen(::GetDC(nullptr));
  CScopedSelection selection(screen.get(), font);
  SIZE extent{};
  ::GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &extent);
  return {extent.cx, extent.cy};
}

CBoxSize textBlockExtent(HFONT font, const std::wstring& text) {
  CScopedScreenDC screen(::GetDC(nullptr));
  CScopedSelection selection(screen.get(), font);
  RECT bounds{};
  ::DrawTextW(screen.get(), text.c_str(), static_cast<int>(text.size()), &bounds,
              DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
  return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

CGdiDialogFonts::CGdiDialogFonts(HFONT dialogFont, std::uint16_t pointSize)
    : dialogFont_(dialogFont), pointSize_(pointSize) {}

CFontMetrics CGdiDialogFonts::measureDialogFont() {
  if (perMonitorAware() && screenDpiY() != USER_DEFAULT_SCREEN_DPI) {
    LOGFONTW at96 = describe(dialogFont_);
    at96.lfHeight = -(pointSize_ * USER_DEFAULT_SCREEN_DPI / 72);
    const CScopedFont font = fontFrom(at96);
    return metricsOf(font.get());
  }
  return metricsOf(dialogFont_);
}

CFontHandle CGdiDialogFonts::fontOf(CTextStyle style) {
  const std::uint32_t key = style.cacheKey();
  for (const auto& [cached, font] : cache_) {
    if (cached == key) {
      return font.get();
    }
  }
  LOGFONTW description = describe(dialogFont_);
  description.lfHeight = styleFontHeight(description.lfHeight, style);
  if (style.flags & CTextStyle::Bold) {
    description.lfWeight = FW_BOLD;
  }
  description.lfItalic = (style.flags & CTextStyle::Italic) ? TRUE : FALSE;
  description.lfUnderline = (style.flags & CTextStyle::Underline) ? TRUE : FALSE;
  cache_.emplace_back(key, fontFrom(description));
  return cache_.back().second.get();
}
