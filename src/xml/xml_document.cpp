#include "xml/xml_document.h"

#include "app/exception.h"

CXmlRootBase::CXmlRootBase() : documentNode(newXmlElement({})) {}

XmlNodePtr newXmlElement(std::wstring name) {
  return makeRef<CXmlNode>(CXmlNodeBase::Element, std::move(name));
}

XmlNodePtr newXmlText(std::wstring text) { return makeRef<CXmlNode>(CXmlNodeBase::Text, std::move(text)); }

XmlDocumentPtr newXmlDocument() { return makeRef<CXmlDocument>(); }

XmlNodePtr documentElement(const XmlDocumentPtr& document) { return document->documentNode->firstChild(); }

std::optional<std::wstring> getAttribute(const XmlNodePtr& node, std::wstring_view name) {
  if (const std::wstring* value = node->attributes.find(name)) {
    return *value;
  }
  return std::nullopt;
}

std::wstring requireAttribute(const XmlNodePtr& node, std::wstring_view name) {
  if (const std::wstring* value = node->attributes.find(name)) {
    return *value;
  }
  throw XExceptionXmlKeyNotFound();
}

XmlDocumentPtr newAppInfoDocument() {
  XmlDocumentPtr document = newXmlDocument();
  CXmlNode::appendChild(document->documentNode, newXmlElement(L"appinfo"));
  return document;
}

XmlNodePtr appInfoContent(const XmlDocumentPtr& document) {
  XmlNodePtr element = documentElement(document);
  if (element && element->isElement() && element->text == L"appinfo") {
    return element->firstChild();
  }
  return {};
}
