// Push buttons, radio buttons and check boxes.
#include <algorithm>

#include "base/integer.h"
#include "dialog/control_kinds_win.h"
#include "dialog/dialog_fonts_win.h"

namespace {

bool isDefaultButton(const CDialogNode& node) {
  const std::wstring* value = node.attribute(L"default");
  const std::optional<std::int32_t> number = value ? parseInteger(*value) : std::nullopt;
  return number && *number != 0;
}

// Medium and large buttons grow with their text: the standard size times
// the text height over the em.
std::int32_t scaledToText(std::int32_t standard, std::int32_t textHeight, std::int32_t em, CTextStyle style) {
  return style.size == CTextStyle::Normal ? standard : mulDivRounded(standard, textHeight, em);
}

}  // namespace

CBoxSize makeButton(CControlFactory& factory, CDialogNode& node, CTextStyle style) {
  const HFONT font = factory.fontOf(style);
  const std::wstring text = elementText(node);
  const std::int32_t textHeight = factory.textHeight(style);
  const std::int32_t em = factory.em();
  const std::int32_t standardWidth =
      std::max(scaledToText(factory.units().buttonWidth, textHeight, em, style), textExtent(font, text).cx + 2 * textHeight);
  const std::int32_t width = lengthOr(node, L"width", em, standardWidth);
  const std::int32_t height =
      lengthOr(node, L"height", em, scaledToText(factory.units().buttonHeight, textHeight, em, style));
  const bool isDefault = isDefaultButton(node);
  const DWORD windowStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
  const HWND button = factory.create(node, {L"BUTTON", 0, windowStyle, text, {width, height}}, font);
  if (isDefault) {
    factory.makeDefaultButton(button);
  }
  return {width, height};
}

CBoxSize makeCheckButton(CControlFactory& factory, CDialogNode& node, CTextStyle style) {
  const HFONT font = factory.fontOf(style);
  const std::wstring text = elementText(node);
  const bool radio = node.is(L"radio");
  const bool textLeft = node.flag(L"left");
  const std::int32_t textHeight = factory.textHeight(style);
  const std::int32_t width =
      std::max(lengthOr(node, L"width", factory.em(), 0), textExtent(font, text + L" ").cx + textHeight);
  DWORD windowStyle = WS_CHILD | WS_TABSTOP | (radio ? BS_AUTORADIOBUTTON : BS_AUTOCHECKBOX);
  if (textLeft) {
    windowStyle |= BS_LEFTTEXT;
  }
  if (radio && factory.startsRadioGroup(node.attributeOr(L"name", L""))) {
    windowStyle |= WS_GROUP;
  }
  const DWORD exStyle = textLeft || node.attributeOr(L"align", L"") == L"right" ? WS_EX_RIGHT : 0;
  const HWND button = factory.create(node, {L"BUTTON", exStyle, windowStyle, text, {width, textHeight}}, font);
  if (node.flag(L"checked")) {
    ::SendMessageW(button, BM_SETCHECK, BST_CHECKED, 0);
  }
  return {width, textHeight};
}
