#include "dialog/button_row.h"

#include <array>
#include <vector>

#include "dialog/markup_vocabulary.h"

namespace {

struct CButtonType {
  std::wstring_view type;
  CStandardButton button;
};

// The platform's standard dialog results.
constexpr std::array<CButtonType, 10> kButtonTypes = {{
    {L"ok", {L"Ok", 1}},
    {L"cancel", {L"Cancel", 2}},
    {L"close", {L"Close", 2}},
    {L"yes", {L"Yes", 6}},
    {L"no", {L"No", 7}},
    {L"abort", {L"Abort", 3}},
    {L"retry", {L"Retry", 4}},
    {L"try", {L"Try again", 10}},
    {L"ignore", {L"Ignore", 5}},
    {L"continue", {L"Continue", 11}},
}};

std::vector<DialogNodePtr> takeOutXButtons(CDialogTreeNode& root) {
  std::vector<DialogNodePtr> taken;
  DialogNodePtr self = DialogNodePtr::share(&root);
  for (DialogNodePtr child = root.firstChild(); child;) {
    DialogNodePtr next = child->nextSibling();
    if (child->is(L"xbutton")) {
      taken.push_back(child);
      CDialogTreeNode::removeChild(self, child);
    }
    child = next;
  }
  return taken;
}

// The text of the node's first text child, or nothing.
const std::wstring* ownText(const CDialogTreeNode& node) {
  for (DialogNodePtr child = node.firstChild(); child; child = child->nextSibling()) {
    if (child->isText()) {
      return &child->name;
    }
  }
  return nullptr;
}

DialogNodePtr pushButtonFor(const CDialogTreeNode& xbutton) {
  const CStandardButton standard = standardButton(xbutton.attributeOr(L"type", L""));
  DialogNodePtr button = newDialogElement(L"button");
  for (std::wstring_view kept : {L"title", L"id", L"default"}) {
    if (const std::wstring* value = xbutton.attribute(kept)) {
      button->attributes.set(kept, *value);
    }
  }
  if (standard.result) {
    button->attributes.set(L"dialog-id", std::to_wstring(*standard.result));
  }
  const std::wstring* text = ownText(xbutton);
  std::wstring caption = text && !text->empty() ? *text : std::wstring(standard.caption);
  if (!caption.empty()) {
    CDialogTreeNode::appendChild(button, newDialogText(std::move(caption)));
  }
  return button;
}

DialogNodePtr divWith(std::initializer_list<std::pair<std::wstring_view, std::wstring_view>> attributes) {
  DialogNodePtr div = newDialogElement(L"div");
  for (const auto& [name, value] : attributes) {
    div->attributes.set(name, std::wstring(value));
  }
  div->display = displayOf(*div);
  return div;
}

}  // namespace

CStandardButton standardButton(std::wstring_view type) {
  for (const CButtonType& known : kButtonTypes) {
    if (known.type == type) {
      return known.button;
    }
  }
  return {};
}

DialogNodePtr buildButtonRow(DialogModel& model) {
  CDialogTreeNode& root = *model.root;
  model.xbuttons = takeOutXButtons(root);
  if (model.xbuttons.empty()) {
    return {};
  }
  root.attributes.set(L"margin-bottom", L"0");
  CDialogTreeNode::appendChild(model.root, divWith({{L"display", L"inline"}, {L"margin-top", L"1em"}}));
  DialogNodePtr row = divWith({{L"display", L"block"}, {L"align", L"right"}, {L"margin-top", L"0.4em"},
                               {L"margin-bottom", L"0.3em"}});
  if (const std::wstring* size = root.attribute(L"xbutton-font-size")) {
    row->attributes.set(L"font-size", *size);
  }
  DialogNodePtr buttons = divWith({{L"display", L"inline"}});
  for (const DialogNodePtr& xbutton : model.xbuttons) {
    CDialogTreeNode::appendChild(buttons, pushButtonFor(*xbutton));
  }
  CDialogTreeNode::appendChild(row, buttons);
  CDialogTreeNode::appendChild(model.root, row);
  return row;
}
