#include "dialog/markup_vocabulary.h"

#include "dialog/markup_values.h"

std::int32_t displayOf(const CDialogNode& node) {
  if (!node.isElement()) {
    return CDialogNode::Inline;
  }
  const std::wstring* display = node.attribute(L"display");
  if (display && *display == L"none") {
    return CDialogNode::None;
  }
  if (node.name == L"hr") {
    return CDialogNode::Block;
  }
  if (display && *display == L"block") {
    return CDialogNode::Block;
  }
  if (display && *display == L"inline") {
    return CDialogNode::Inline;
  }
  return node.name == L"dialog" || node.name == L"div" ? CDialogNode::Block : CDialogNode::Inline;
}

CBoxRect defaultMargin(const CDialogNode& node, std::int32_t em) {
  if (!node.isElement() || node.name == L"div" || node.name == L"static") {
    return {};
  }
  if (node.name == L"dialog") {
    return {em, em, em, em};
  }
  if (node.name == L"hr") {
    return {0, em, 0, em};
  }
  return {0, 2, 4, 2};
}

void applyBoxModel(CDialogTreeNode& root, std::int32_t em) {
  root.display = displayOf(root);
  root.margin = defaultMargin(root, em);
  root.padding = {};
  root.width = kNoWidth;
  if (root.isElement()) {
    readBoxProperty(root, L"margin", em, root.margin);
    readBoxProperty(root, L"padding", em, root.padding);
    if (root.hasAttribute(L"width")) {
      root.width = root.length(L"width", em);
    }
  }
  for (CDialogTreeNode* child = root.firstChildNode(); child; child = child->nextSiblingNode()) {
    applyBoxModel(*child, em);
  }
}
