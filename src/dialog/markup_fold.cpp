#include "dialog/markup_fold.h"

#include "base/text.h"
#include "dialog/markup_vocabulary.h"

namespace {

void copyAttributes(const CXmlNode& from, CDialogNode& to) {
  for (const CXmlAttributes::Entry& entry : from.attributes) {
    std::wstring name = asciiLowerCase(trimmed(entry.key));
    std::wstring value = name == L"title" ? entry.value : asciiLowerCase(entry.value);
    to.attributes.set(name, std::move(value));
  }
}

}  // namespace

DialogNodePtr copyFolded(const CXmlNode& element) {
  DialogNodePtr node = element.isElement() ? newDialogElement(asciiLowerCase(element.text)) : newDialogText(element.text);
  node->namespaceUri = element.namespaceUri;
  copyAttributes(element, *node);
  node->display = displayOf(*node);
  for (const CXmlNode* child = element.firstChildNode(); child; child = child->nextSiblingNode()) {
    // Comments never reach here from the parser; one in a tree built in
    // memory is no part of the dialog.
    if (!child->isComment()) {
      CDialogTreeNode::appendChild(node, copyFolded(*child));
    }
  }
  return node;
}
