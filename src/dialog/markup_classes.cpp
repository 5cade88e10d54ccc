#include "dialog/markup_classes.h"

#include <vector>

#include "dialog/markup_xml.h"

namespace {

using VisibleClasses = std::vector<XmlNodePtr>;

void receiveClasses(CXmlNode& element, const VisibleClasses& visible) {
  const std::wstring* wanted = xmlAttribute(element, L"class");
  if (!wanted) {
    return;
  }
  const std::wstring className = *wanted;
  for (auto definition = visible.rbegin(); definition != visible.rend(); ++definition) {
    const std::wstring* name = xmlAttribute(**definition, L"name");
    if (*name != className) {
      continue;
    }
    for (const CXmlAttributes::Entry& entry : (*definition)->attributes) {
      if (entry.key != L"name" && !element.attributes.contains(entry.key)) {
        element.attributes.set(entry.key, entry.value);
      }
    }
  }
}

// The classes defined among parent's children stay visible only until the
// walk leaves parent.
void applyBelow(const XmlNodePtr& parent, VisibleClasses& visible) {
  const std::size_t outer = visible.size();
  XmlNodePtr child = parent->firstChild();
  while (child) {
    XmlNodePtr next = child->nextSibling();
    if (isXmlElement(child.get(), L"class")) {
      CXmlNode::removeChild(parent, child);
      if (xmlAttribute(*child, L"name")) {
        visible.push_back(child);
      }
    } else if (child->isElement()) {
      receiveClasses(*child, visible);
      applyBelow(child, visible);
    }
    child = std::move(next);
  }
  visible.resize(outer);
}

}  // namespace

void applyClasses(const XmlNodePtr& root) {
  VisibleClasses visible;
  applyBelow(root, visible);
}
