#include "dialog/control_factory_win.h"

#include <map>
#include <string_view>

#include "app/exception.h"
#include "base/integer.h"
#include "dialog/control_kinds_win.h"
#include "dialog/dialog_fonts_win.h"

namespace {

using MakeControl = CBoxSize (*)(CControlFactory&, CDialogNode&, CTextStyle);

const std::map<std::wstring_view, MakeControl>& controlKinds() {
  static const std::map<std::wstring_view, MakeControl> kinds = {
      {L"button", makeButton},     {L"radio", makeCheckButton}, {L"checkbox", makeCheckButton},
      {L"text", makeEdit},         {L"combo", makeCombo},       {L"list", makeList},
      {L"tree", makeTree},         {L"progress", makeProgress}, {L"date", makeDate},
      {L"static", makeStatic},     {L"label", makeLabel},       {L"a", makeLink},
      {L"image", makeImage},       {L"hr", makeRule},
  };
  return kinds;
}

CDialogTreeNode& treeNodeOf(CDialogNode& node) { return static_cast<CDialogTreeNode&>(node); }

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

}  // namespace

std::wstring elementText(const CDialogNode& element) {
  std::wstring text;
  for (DialogNodePtr child = static_cast<const CDialogTreeNode&>(element).firstChild(); child;
       child = child->nextSibling()) {
    if (child->isText()) {
      text += child->name;
    }
  }
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isBlank(text[begin])) {
    ++begin;
  }
  while (end > begin && isBlank(text[end - 1])) {
    --end;
  }
  return text.substr(begin, end - begin);
}

std::int32_t lengthOr(const CDialogNode& node, std::wstring_view key, std::int32_t em, std::int32_t fallback) {
  return node.hasAttribute(key) ? node.length(key, em) : fallback;
}

CControlFactory::CControlFactory(DialogModel& model, HWND parent, XDialogFonts& fonts, CImageCache& images)
    : model_(model), parent_(parent), fonts_(fonts), images_(images), units_(controlUnits(model.metrics)) {}

CBoxSize CControlFactory::measureControl(CDialogNode& control, CTextStyle style) {
  const auto kind = controlKinds().find(control.name);
  if (kind == controlKinds().end()) {
    return {};
  }
  control.controlId = identifierOf(control);
  const CBoxSize size = kind->second(*this, control, style);
  model_.controls.push_back(DialogNodePtr::share(&treeNodeOf(control)));
  if (control.flag(L"focus")) {
    focusWindow_ = control.window;
  }
  return size;
}

CBoxSize CControlFactory::measureWord(CDialogNode& word, CTextStyle style) {
  const HFONT font = fontOf(style);
  const CBoxSize extent = textExtent(font, word.name);
  create(word, {L"STATIC", 0, WS_CHILD | SS_NOPREFIX, word.name, extent}, font);
  return extent;
}

std::int32_t CControlFactory::lineBreakHeight(CTextStyle style) { return textExtent(fontOf(style), L"0").cy; }

std::int32_t CControlFactory::textHeight(CTextStyle style) {
  return textExtent(fontOf(style), L"M").cy;
}

HWND CControlFactory::create(CDialogNode& node, const CWindowRequest& request, HFONT font) {
  const HWND window = ::CreateWindowExW(request.exStyle, request.className, request.text.c_str(), request.style, 0, 0,
                                        request.size.cx, request.size.cy, parent_,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(node.controlId)),
                                        ::GetModuleHandleW(nullptr), nullptr);
  if (!window) {
    throw XExceptionGeneral(L"The dialog cannot create its control of the class " + std::wstring(request.className) +
                            L".");
  }
  ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  node.window = window;
  return window;
}

void CControlFactory::registerLabel(CDialogNode& label) {
  model_.labels.push_back(DialogNodePtr::share(&treeNodeOf(label)));
}

std::int32_t CControlFactory::identifierOf(const CDialogNode& node) {
  if (const std::wstring* given = node.attribute(L"dialog-id")) {
    if (const std::optional<std::int32_t> id = parseInteger(*given)) {
      return *id;
    }
  }
  return model_.nextControlId++;
}
