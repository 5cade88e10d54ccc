// The round trip parse, write, parse again, and what must hold for it.
//
// The written document always starts with its declaration.  Where the first
// tree uses no namespace prefixes and no surrogate code units (which the
// reader's UTF-8 decoder does not take back), the second reading gives the
// same tree: same names, namespaces and attributes, and texts escaped once
// more (the parser leaves entities in text), with texts that a removed
// comment had separated joined.  Shared by the round-trip fuzzer and the
// regression tests of what it found.
#pragma once

#include <string>
#include <string_view>

#include "app/exception.h"
#include "base/stream_in_memory.h"
#include "base/stream_out_mem.h"
#include "xml/xml_parser.h"
#include "xml/xml_writer.h"

namespace xml_round_trip {

inline bool hasSurrogate(std::wstring_view text) {
  for (wchar_t c : text) {
    if (c >= 0xD800 && c <= 0xDFFF) {
      return true;
    }
  }
  return false;
}

inline bool usesSurrogates(const CXmlNode& node) {
  if (hasSurrogate(node.text) || hasSurrogate(node.namespaceUri)) {
    return true;
  }
  for (const auto& entry : node.attributes) {
    if (hasSurrogate(entry.key) || hasSurrogate(entry.value)) {
      return true;
    }
  }
  for (const CXmlNode* child = node.firstChildNode(); child; child = child->nextSiblingNode()) {
    if (usesSurrogates(*child)) {
      return true;
    }
  }
  return false;
}

inline std::string differenceOfAttributes(const CXmlAttributes& first, const CXmlAttributes& second) {
  if (first.size() != second.size()) {
    return "attribute count";
  }
  for (const auto& entry : first) {
    const std::wstring* value = second.find(entry.key);
    if (!value || *value != entry.value) {
      return "attribute value";
    }
  }
  return {};
}

inline std::string differenceOfTrees(const CXmlNode& first, const CXmlNode& second) {
  if (!second.isElement() || first.text != second.text) {
    return "element name";
  }
  if (first.namespaceUri != second.namespaceUri) {
    return "namespace";
  }
  if (std::string problem = differenceOfAttributes(first.attributes, second.attributes); !problem.empty()) {
    return problem;
  }
  const CXmlNode* other = second.firstChildNode();
  for (const CXmlNode* child = first.firstChildNode(); child; other = other->nextSiblingNode()) {
    if (!other) {
      return "missing child";
    }
    if (child->isElement()) {
      if (std::string problem = differenceOfTrees(*child, *other); !problem.empty()) {
        return problem;
      }
      child = child->nextSiblingNode();
      continue;
    }
    std::wstring joined;
    for (; child && child->isText(); child = child->nextSiblingNode()) {
      joined += escapeText(child->text);
    }
    if (!other->isText() || other->text != joined) {
      return "text";
    }
  }
  return other ? "extra child" : "";
}

inline std::string written(const XmlDocumentPtr& document) {
  XStreamOutMem out;
  writeDocument(document, out);
  out.flush();
  return std::string(out.bytes().begin(), out.bytes().end());
}

// Empty when the round trip of input holds (or input is no document to this
// parser); otherwise what went wrong.
inline std::string problemOf(std::string_view input) {
  XmlDocumentPtr first;
  try {
    XStreamInMemory in(input.data(), input.size());
    first = parseDocument(in);
  } catch (const XExceptionXml&) {
    return {};
  }
  const std::string bytes = written(first);
  if (!bytes.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>")) {
    return "declaration";
  }
  if (!first->namespaces.empty() || usesSurrogates(*first->documentNode)) {
    return {};
  }
  XmlDocumentPtr second;
  try {
    XStreamInMemory in(bytes.data(), bytes.size());
    second = parseDocument(in);
  } catch (const XExceptionXml&) {
    return "written document does not parse";
  }
  const XmlNodePtr firstElement = documentElement(first);
  const XmlNodePtr secondElement = documentElement(second);
  if (!firstElement || !secondElement) {
    return !firstElement == !secondElement ? "" : "document element";
  }
  if (secondElement->nextSibling()) {
    return "more than one element written";
  }
  return differenceOfTrees(*firstElement, *secondElement);
}

}  // namespace xml_round_trip
