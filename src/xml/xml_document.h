// The XML document model: nodes in a reference-counted tree, the document
// that holds them, and the small queries every consumer uses.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/ref_object.h"
#include "base/ref_ptr.h"
#include "base/tree.h"
#include "base/hash_map.h"

using CXmlAttributes = THashMap<std::wstring, std::wstring>;

// The payload of one node.
class CXmlNodeBase {
public:
  enum Kind : std::int32_t { Element = 0, Text = 1, Comment = 2 };

  CXmlNodeBase() = default;
  CXmlNodeBase(std::int32_t nodeKind, std::wstring nodeText) : kind(nodeKind), text(std::move(nodeText)) {}

  bool isElement() const noexcept { return kind == Element; }
  bool isText() const noexcept { return kind == Text; }
  bool isComment() const noexcept { return kind == Comment; }

  std::int32_t kind = Element;
  // The name of an element, the characters of a text or comment node.
  std::wstring text;
  // An element's namespace after resolution.
  std::wstring namespaceUri;
  // Unique names; a repeated name keeps the last value.
  CXmlAttributes attributes;
};

using CXmlNode = CCommonRefObject<CXmlNodeBase>;
using XmlNodePtr = TRefPtr<CXmlNode>;

// The document.
class CXmlRootBase {
public:
  CXmlRootBase();

  // An element with an empty name whose children are the top-level elements
  // in document order; the first of them is the document element.
  XmlNodePtr documentNode;
  // Prefix to namespace name, from every xmlns: attribute of the document.
  THashMap<std::wstring, std::wstring> namespaces;
  // The trimmed text of a DOCTYPE declaration in the prolog.
  std::wstring doctype;
  // The encoding named by the XML declaration.
  std::wstring encoding;
};

using CXmlDocument = TRefObjectExt<CXmlRootBase>::CRef;
using XmlDocumentPtr = TRefPtr<CXmlDocument>;

// New nodes for builders, count 1, to be attached with appendChild.
XmlNodePtr newXmlElement(std::wstring name);
XmlNodePtr newXmlText(std::wstring text);
XmlDocumentPtr newXmlDocument();

// The first child of the document node, or empty.
XmlNodePtr documentElement(const XmlDocumentPtr& document);

std::optional<std::wstring> getAttribute(const XmlNodePtr& node, std::wstring_view name);
// Throws XExceptionXmlKeyNotFound when the attribute is absent.
std::wstring requireAttribute(const XmlNodePtr& node, std::wstring_view name);

// A document whose document element is an empty element named appinfo (the
// installation manifest).
XmlDocumentPtr newAppInfoDocument();
// The first child of the document element when that is an element named
// exactly appinfo; otherwise empty.
XmlNodePtr appInfoContent(const XmlDocumentPtr& document);
