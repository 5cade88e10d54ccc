#include "dialog/dialog_node.h"

#include "dialog/markup_values.h"

std::wstring CDialogNode::attributeOr(std::wstring_view key, std::wstring_view fallback) const {
  const std::wstring* value = attribute(key);
  return value ? *value : std::wstring(fallback);
}

bool CDialogNode::flag(std::wstring_view key, bool fallback) const {
  const std::wstring* value = attribute(key);
  return value ? parseBoolean(*value) : fallback;
}

std::int32_t CDialogNode::length(std::wstring_view key, std::int32_t em) const {
  const std::wstring* value = attribute(key);
  return parseLength(value ? std::wstring_view(*value) : std::wstring_view(), em);
}

DialogNodePtr newDialogElement(std::wstring name) {
  return makeRef<CDialogTreeNode>(CDialogNode::Element, std::move(name));
}

DialogNodePtr newDialogText(std::wstring text) { return makeRef<CDialogTreeNode>(CDialogNode::Text, std::move(text)); }

DialogNodePtr newDialogLineBreak() { return makeRef<CDialogTreeNode>(CDialogNode::LineBreak, std::wstring()); }
