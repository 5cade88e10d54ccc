// A compact, readable picture of a parsed tree for comparing with expected
// trees in tests:
//   element      name{namespace}(attr=value;attr=value)[child,child]
//   text         "characters"
//   comment      <!--characters-->
// Attributes are sorted by name; characters outside printable ASCII appear
// as \n, \r, \t or \u{hex}.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "xml/xml_document.h"

namespace xml_dump {

inline std::string visible(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) {
    if (c == L'\n') {
      out += "\\n";
    } else if (c == L'\r') {
      out += "\\r";
    } else if (c == L'\t') {
      out += "\\t";
    } else if (c >= 32 && c < 127) {
      out += static_cast<char>(c);
    } else {
      char hex[16];
      std::snprintf(hex, sizeof hex, "\\u{%x}", static_cast<unsigned>(c));
      out += hex;
    }
  }
  return out;
}

inline std::string node(const CXmlNode& n) {
  if (n.isText()) {
    return "\"" + visible(n.text) + "\"";
  }
  if (n.isComment()) {
    return "<!--" + visible(n.text) + "-->";
  }
  std::string out = visible(n.text);
  if (!n.namespaceUri.empty()) {
    out += "{" + visible(n.namespaceUri) + "}";
  }
  std::vector<std::pair<std::wstring, std::wstring>> attributes;
  for (const auto& [name, value] : n.attributes) {
    attributes.emplace_back(name, value);
  }
  std::sort(attributes.begin(), attributes.end());
  if (!attributes.empty()) {
    out += "(";
    for (std::size_t i = 0; i < attributes.size(); ++i) {
      out += (i ? ";" : "") + visible(attributes[i].first) + "=" + visible(attributes[i].second);
    }
    out += ")";
  }
  if (const CXmlNode* child = n.firstChildNode()) {
    out += "[";
    for (; child; child = child->nextSiblingNode()) {
      out += node(*child) + (child->nextSiblingNode() ? "," : "");
    }
    out += "]";
  }
  return out;
}

// The top-level nodes, separated by " | ".
inline std::string document(const XmlDocumentPtr& doc) {
  std::string out;
  for (const CXmlNode* top = doc->documentNode->firstChildNode(); top; top = top->nextSiblingNode()) {
    out += (out.empty() ? "" : " | ") + node(*top);
  }
  return out;
}

}  // namespace xml_dump
