// Texts, labels, links, pictures and rules.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "app/exception.h"
#include "dialog/control_kinds_win.h"
#include "dialog/dialog_fonts_win.h"

namespace {

DWORD alignmentStyle(const CDialogNode& node) {
  const std::wstring align = node.attributeOr(L"align", L"");
  return align == L"center" ? SS_CENTER : align == L"right" ? SS_RIGHT : SS_LEFT;
}

// The first of the comma-separated names of `src`, without blanks.
std::wstring firstSource(const CDialogNode& node) {
  std::wstring src = node.attributeOr(L"src", L"");
  src = src.substr(0, src.find(L','));
  const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
  while (!src.empty() && blank(src.back())) {
    src.pop_back();
  }
  src.erase(src.begin(), std::find_if_not(src.begin(), src.end(), blank));
  return src;
}

// The picture `src` names, or nothing when it names none that loads.
const CImageEntry* loadedImage(CImageCache& images, const CDialogNode& node) {
  const std::wstring src = firstSource(node);
  if (src.empty()) {
    return nullptr;
  }
  try {
    return &images.imageFor(src);
  } catch (const XExceptionResource&) {
    return nullptr;
  }
}

}  // namespace

CBoxSize makeStatic(CControlFactory& factory, CDialogNode& node, CTextStyle style) {
  const HFONT font = factory.fontOf(style);
  const std::wstring text = elementText(node);
  const std::int32_t em = factory.em();
  // A height of "-1" asks for the text as a block of lines; any other
  // height is taken as it is.
  const bool asBlock = node.attributeOr(L"height", L"") == L"-1";
  CBoxSize size = asBlock ? textBlockExtent(font, text) : textExtent(font, text.empty() ? L"M" : text);
  if (!asBlock) {
    size.cy = lengthOr(node, L"height", em, size.cy);
  }
  size.cx = lengthOr(node, L"width", em, size.cx);
  factory.create(node, {L"STATIC", 0, WS_CHILD | WS_VISIBLE | alignmentStyle(node), text, size}, font);
  return size;
}

CBoxSize makeLabel(CControlFactory& factory, CDialogNode& node, CTextStyle style) {
  const HFONT font = factory.fontOf(style);
  const std::wstring text = elementText(node);
  const CBoxSize extent = textExtent(font, text);
  const CBoxSize size = {std::max(extent.cx, lengthOr(node, L"width", factory.em(), 0)),
                         std::max(extent.cy, factory.units().fieldHeight)};
  factory.create(node, {L"STATIC", 0, WS_CHILD | SS_CENTERIMAGE | alignmentStyle(node), text, size}, font);
  factory.registerLabel(node);
  return size;
}

CBoxSize makeLink(CControlFactory& factory, CDialogNode& node, CTextStyle style) {
  const HFONT font = factory.fontOf(style);
  const std::wstring text = elementText(node);
  const CBoxSize extent = textExtent(font, text);
  const CBoxSize size = {lengthOr(node, L"width", factory.em(), extent.cx),
                     lengthOr(node, L"height", factory.em(), extent.cy)};
  factory.create(node, {WC_LINK, 0, WS_CHILD | WS_VISIBLE, L"<a>" + text + L"</a>", size}, font);
  return size;
}

CBoxSize makeImage(CControlFactory& factory, CDialogNode& node, CTextStyle style) {
  const CImageEntry* image = loadedImage(factory.images(), node);
  const bool icon = image && image->kind == CImageEntry::Icon;
  DWORD windowStyle = WS_CHILD | WS_VISIBLE | (icon ? SS_ICON : SS_BITMAP);
  // An icon is drawn in the middle of its control anyway; a bitmap is kept
  // at its own size in the middle.
  if (!icon && node.attributeOr(L"align", L"") == L"center") {
    windowStyle |= SS_CENTERIMAGE;
  }
  if (node.hasAttribute(L"id")) {
    windowStyle |= SS_NOTIFY;
  }
  // Without a picture the control keeps the size the markup gives, which
  // reads like a malformed length when it gives none.
  const SIZE own = image ? image->sizeFor(factory.dpi()) : SIZE{};
  const std::int32_t em = factory.em();
  const CBoxSize size = image ? CBoxSize{lengthOr(node, L"width", em, own.cx), lengthOr(node, L"height", em, own.cy)}
                              : CBoxSize{node.length(L"width", em), node.length(L"height", em)};
  const HWND window = factory.create(node, {L"STATIC", 0, windowStyle, L"", size}, factory.fontOf(style));
  if (image) {
    ::SendMessageW(window, STM_SETIMAGE, icon ? IMAGE_ICON : IMAGE_BITMAP,
                   reinterpret_cast<LPARAM>(image->handleFor(factory.dpi())));
    // The control shrinks itself to the picture; the markup's size wins.
    ::SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return size;
}

void showImageAt(CImageCache& images, const CDialogNode& node, UINT dpi) {
  if (const CImageEntry* image = loadedImage(images, node)) {
    RECT place{};
    ::GetWindowRect(node.window, &place);
    const bool icon = image->kind == CImageEntry::Icon;
    ::SendMessageW(node.window, STM_SETIMAGE, icon ? IMAGE_ICON : IMAGE_BITMAP,
                   reinterpret_cast<LPARAM>(image->handleFor(dpi)));
    // The control shrinks itself to the picture; it keeps its place.
    ::SetWindowPos(node.window, nullptr, 0, 0, place.right - place.left, place.bottom - place.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

CBoxSize makeRule(CControlFactory& factory, CDialogNode& node, CTextStyle style) {
  factory.create(node, {L"STATIC", 0, WS_CHILD | SS_SUNKEN, L"", {100, 2}}, factory.fontOf(style));
  return {10, 2};
}
