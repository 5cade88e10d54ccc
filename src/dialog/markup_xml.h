// Small questions and changes on the parsed markup that the preparation
// steps share.  They run before case folding, so names match exactly.
#pragma once

#include <string>
#include <string_view>

#include "xml/xml_document.h"

inline bool isXmlElement(const CXmlNode* node, std::wstring_view name) noexcept {
  return node && node->isElement() && node->text == name;
}

// The attribute's value, or nullptr.
inline const std::wstring* xmlAttribute(const CXmlNode& node, std::wstring_view name) noexcept {
  return node.attributes.find(name);
}

// Takes one attribute out of the node; the others keep their order.
void removeXmlAttribute(CXmlNode& node, std::wstring_view name);

// The node's first child when that is a text node, else nullptr.
CXmlNode* firstXmlText(const CXmlNode& node) noexcept;

// Sets the text of the node's first child when that is a text node, else
// puts a new text node in front of its children.
void setFirstXmlText(const XmlNodePtr& node, std::wstring text);
