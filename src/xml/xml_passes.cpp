#include "xml/xml_passes.h"

#include "base/stream_in.h"
#include "base/text.h"

namespace xml_passes {
namespace {

// Visits root and every node below it in document order, depth first,
// without recursion.  visit may remove children of the node it is given, but
// not the node itself.
template <class Visit>
void walk(CXmlNode& root, Visit visit) {
  CXmlNode* node = &root;
  for (;;) {
    visit(*node);
    if (CXmlNode* child = node->firstChildNode()) {
      node = child;
      continue;
    }
    while (node != &root && !node->nextSiblingNode()) {
      node = node->parentNode();
    }
    if (node == &root) {
      return;
    }
    node = node->nextSiblingNode();
  }
}

template <class Drop>
void removeChildrenWhere(CXmlNode& parent, Drop drop) {
  if (!parent.firstChildNode()) {
    return;
  }
  const XmlNodePtr holder = XmlNodePtr::share(&parent);
  CXmlNode* child = parent.firstChildNode();
  while (child) {
    CXmlNode* next = child->nextSiblingNode();
    if (drop(*child)) {
      CXmlNode::removeChild(holder, XmlNodePtr::share(child));
    }
    child = next;
  }
}

bool isBlankText(const CXmlNode& node) {
  return node.isText() && isAllBlank(node.text);
}

constexpr std::wstring_view kPrefixDeclaration = L"xmlns:";

}  // namespace

void collectNamespaces(CXmlRootBase& document) {
  walk(*document.documentNode, [&](CXmlNode& node) {
    for (const auto& [name, value] : node.attributes) {
      if (std::wstring_view(name).starts_with(kPrefixDeclaration)) {
        document.namespaces.set(std::wstring_view(name).substr(kPrefixDeclaration.size()), value);
      }
    }
  });
}

void resolveNamespaces(CXmlRootBase& document) {
  walk(*document.documentNode, [&](CXmlNode& node) {
    if (!node.isElement()) {
      return;
    }
    const std::size_t colon = node.text.find(L':');
    if (colon != std::wstring::npos && colon >= 1) {
      if (const std::wstring* uri = document.namespaces.find(std::wstring_view(node.text).substr(0, colon))) {
        node.namespaceUri = *uri;
        node.text.erase(0, colon + 1);
      }
    } else if (const std::wstring* uri = node.attributes.find(L"xmlns")) {
      node.namespaceUri = *uri;
    }
  });
}

void removeComments(CXmlRootBase& document) {
  walk(*document.documentNode, [](CXmlNode& node) {
    removeChildrenWhere(node, [](const CXmlNode& child) { return child.isComment(); });
  });
}

void removeBlankText(CXmlRootBase& document) {
  walk(*document.documentNode, [](CXmlNode& node) { removeChildrenWhere(node, isBlankText); });
}

}  // namespace xml_passes
