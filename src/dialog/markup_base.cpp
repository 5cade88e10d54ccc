#include "dialog/markup_base.h"

#include <vector>

#include "dialog/markup_resource.h"
#include "dialog/markup_xml.h"

namespace {

CXmlNode* firstCaption(const CXmlNode& root) noexcept {
  for (CXmlNode* child = root.firstChildNode(); child; child = child->nextSiblingNode()) {
    if (isXmlElement(child, L"caption")) {
      return child;
    }
  }
  return nullptr;
}

// The base's content that moves goes in front of what the dialog had, in the
// base's order.
void takeClassesAndCaption(const XmlNodePtr& root, const XmlNodePtr& baseRoot) {
  const XmlNodePtr ownFirst = root->firstChild();
  const bool needsCaption = firstCaption(*root) == nullptr;
  std::vector<XmlNodePtr> moving;
  for (XmlNodePtr child = baseRoot->firstChild(); child; child = child->nextSibling()) {
    if (isXmlElement(child.get(), L"class") || (needsCaption && child.get() == firstCaption(*baseRoot))) {
      moving.push_back(child);
    }
  }
  for (const XmlNodePtr& node : moving) {
    CXmlNode::insertBefore(root, node, ownFirst);
  }
}

void takeHeaderAttributes(CXmlNode& root, const CXmlNode& baseRoot) {
  for (const CXmlAttributes::Entry& entry : baseRoot.attributes) {
    if (!root.attributes.contains(entry.key)) {
      root.attributes.set(entry.key, entry.value);
    }
  }
}

void inheritFrom(const XmlNodePtr& root, int level) {
  const std::wstring* base = xmlAttribute(*root, L"base");
  if (level >= kMaxBaseLevels || !base || base->empty()) {
    return;
  }
  const XmlDocumentPtr document = loadMarkupResource(*base);
  const XmlNodePtr baseRoot = documentElement(document);
  if (!isXmlElement(baseRoot.get(), L"dialog")) {
    return;
  }
  inheritFrom(baseRoot, level + 1);
  takeClassesAndCaption(root, baseRoot);
  takeHeaderAttributes(*root, *baseRoot);
}

}  // namespace

void inheritBaseDialogs(const XmlNodePtr& root) {
  if (isXmlElement(root.get(), L"dialog")) {
    inheritFrom(root, 0);
  }
}
