#include "dialog/markup_xml.h"

#include <utility>
#include <vector>

void removeXmlAttribute(CXmlNode& node, std::wstring_view name) {
  if (!node.attributes.contains(name)) {
    return;
  }
  // A new key goes to the head of its chain, so the others are set again
  // from the last one visited to the first to keep their order.
  std::vector<const CXmlAttributes::Entry*> kept;
  for (const CXmlAttributes::Entry& entry : node.attributes) {
    if (entry.key != name) {
      kept.push_back(&entry);
    }
  }
  CXmlAttributes rebuilt;
  for (auto entry = kept.rbegin(); entry != kept.rend(); ++entry) {
    rebuilt.set((*entry)->key, (*entry)->value);
  }
  node.attributes = std::move(rebuilt);
}

CXmlNode* firstXmlText(const CXmlNode& node) noexcept {
  CXmlNode* first = node.firstChildNode();
  return first && first->isText() ? first : nullptr;
}

void setFirstXmlText(const XmlNodePtr& node, std::wstring text) {
  if (CXmlNode* existing = firstXmlText(*node)) {
    existing->text = std::move(text);
    return;
  }
  CXmlNode::insertBefore(node, newXmlText(std::move(text)), node->firstChild());
}
