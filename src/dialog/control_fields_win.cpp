// The input controls: edit fields, combo boxes, lists, trees, progress bars
// and date pickers.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "dialog/control_kinds_win.h"
#include "dialog/dialog_fonts_win.h"
#include "dialog/markup_values.h"

namespace {

std::int32_t defaultLength(const CDialogNode& node, std::wstring_view key, std::int32_t em,
                           std::wstring_view fallback) {
  return lengthOr(node, key, em, parseLength(fallback, em));
}

DWORD editStyle(const CDialogNode& node) {
  DWORD style = WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL;
  const std::wstring type = node.attributeOr(L"type", L"");
  if (type == L"password") {
    style |= ES_PASSWORD;
  } else if (type == L"int") {
    style |= ES_NUMBER;
  }
  if (node.hasAttribute(L"height")) {
    style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN;
    if (node.flag(L"hscroll")) {
      style |= WS_HSCROLL;
    }
    if (node.flag(L"vscroll", true)) {
      style |= WS_VSCROLL;
    }
  }
  if (node.flag(L"upper")) {
    style |= ES_UPPERCASE;
  }
  if (node.flag(L"read-only")) {
    style |= ES_READONLY;
  }
  return style;
}

CBoxSize windowSize(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

// The entries of a combo box: its `item` children, each keeping a pointer to
// its node (the tree outlives the window).  The item whose `value` equals
// the combo's is selected.
void fillCombo(HWND combo, const CDialogNode& node) {
  const std::wstring* selected = node.attribute(L"value");
  for (DialogNodePtr child = static_cast<const CDialogTreeNode&>(node).firstChild(); child;
       child = child->nextSibling()) {
    if (!child->is(L"item")) {
      continue;
    }
    const std::wstring text = elementText(*child);
    const LRESULT index = ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index < 0) {
      continue;
    }
    ::SendMessageW(combo, CB_SETITEMDATA, index, reinterpret_cast<LPARAM>(child.get()));
    const std::wstring* value = child->attribute(L"value");
    if (selected && value && *value == *selected) {
      ::SendMessageW(combo, CB_SETCURSEL, index, 0);
    }
  }
}

std::int32_t widestItem(const CDialogNode& node, HFONT font) {
  std::int32_t widest = 0;
  for (DialogNodePtr child = static_cast<const CDialogTreeNode&>(node).firstChild(); child;
       child = child->nextSibling()) {
    if (child->is(L"item")) {
      widest = std::max(widest, textExtent(font, elementText(*child)).cx);
    }
  }
  return widest;
}

}  // namespace

CBoxSize makeEdit(CControlFactory& factory, CDialogNode& node, CTextStyle style) {
  const std::int32_t width = defaultLength(node, L"width", factory.em(), L"12em");
  const std::int32_t height = lengthOr(node, L"height", factory.em(), factory.units().fieldHeight);
  factory.create(node, {L"EDIT", WS_EX_CLIENTEDGE, editStyle(node), elementText(node), {width, height}},
                 factory.fontOf(style));
  return {width, height};
}

CBoxSize makeCombo(CControlFactory& factory, CDialogNode& node, CTextStyle style) {
  const HFONT font = factory.fontOf(style);
  const std::int32_t frame = 2 * ::GetSystemMetrics(SM_CXEDGE) + ::GetSystemMetrics(SM_CXVSCROLL) + 4;
  const std::int32_t width = std::max(lengthOr(node, L"width", factory.em(), 0), widestItem(node, font) + frame);
  DWORD windowStyle = WS_CHILD | WS_VSCROLL | WS_TABSTOP;
  if (node.flag(L"sort", true)) {
    windowStyle |= CBS_SORT;
  }
  windowStyle |= node.attributeOr(L"type", L"") == L"dropdown" ? CBS_DROPDOWN : CBS_DROPDOWNLIST;
  const HWND combo = factory.create(node, {L"ComboBox", 0, windowStyle, L"", {width, 30 * factory.em()}}, font);
  fillCombo(combo, node);
  return windowSize(combo);
}

CBoxSize makeList(CControlFactory& factory, CDialogNode& node, CTextStyle style) {
  DWORD windowStyle = WS_CHILD | WS_VSCROLL | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_ALIGNLEFT;
  if (!node.flag(L"multiple")) {
    windowStyle |= LVS_SINGLESEL;
  }
  if (node.flag(L"ownerdata")) {
    windowStyle |= LVS_OWNERDATA;
  }
  if (node.hasAttribute(L"header") && !node.flag(L"header")) {
    windowStyle |= LVS_NOCOLUMNHEADER;
  }
  const std::int32_t width = defaultLength(node, L"width", factory.em(), L"10em");
  const std::int32_t height = defaultLength(node, L"height", factory.em(), L"10em");
  const HWND list = factory.create(
      node, {WC_LISTVIEWW, WS_EX_CLIENTEDGE | WS_EX_NOPARENTNOTIFY, windowStyle, L"", {width, height}},
      factory.fontOf(style));
  DWORD extended = LVS_EX_FULLROWSELECT;
  if (node.flag(L"checkbox")) {
    extended |= LVS_EX_CHECKBOXES;
  }
  ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  return {width, height};
}

CBoxSize makeTree(CControlFactory& factory, CDialogNode& node, CTextStyle style) {
  DWORD windowStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
  if (node.flag(L"checkbox")) {
    windowStyle |= TVS_CHECKBOXES;
  }
  const std::int32_t width = defaultLength(node, L"width", factory.em(), L"8em");
  const std::int32_t height = defaultLength(node, L"height", factory.em(), L"8em");
  factory.create(node, {WC_TREEVIEWW, WS_EX_CLIENTEDGE, windowStyle, L"", {width, height}}, factory.fontOf(style));
  return {width, height};
}

CBoxSize makeProgress(CControlFactory& factory, CDialogNode& node, CTextStyle style) {
  DWORD windowStyle = WS_CHILD | WS_VISIBLE;
  if (node.flag(L"marquee")) {
    windowStyle |= PBS_MARQUEE;
  }
  // A progress bar without a width reads it like a malformed one.
  const std::int32_t width = node.length(L"width", factory.em());
  const std::int32_t height = defaultLength(node, L"height", factory.em(), L"1.5em");
  factory.create(node, {PROGRESS_CLASSW, 0, windowStyle, L"", {width, height}}, factory.fontOf(style));
  return {width, height};
}

CBoxSize makeDate(CControlFactory& factory, CDialogNode& node, CTextStyle style) {
  DWORD windowStyle = WS_CHILD | WS_VISIBLE;
  if (node.flag(L"none")) {
    windowStyle |= DTS_SHOWNONE;
  }
  const std::int32_t width = defaultLength(node, L"width", factory.em(), L"16px");
  const std::int32_t height = defaultLength(node, L"height", factory.em(), L"16px");
  factory.create(node, {DATETIMEPICK_CLASSW, 0, windowStyle, L"", {width, height}}, factory.fontOf(style));
  return {width, height};
}
