// A compact picture of a prepared dialog tree for comparing with expected
// trees in tests:
//   element      name:display(attr=value;attr=value)[child,child]
//   text         "characters"
// ":block" or ":none" is shown when the display is not inline; attributes
// are sorted by name; characters outside printable ASCII appear as in the
// XML tests' pictures.
#pragma once

#include <string>

#include "dialog/dialog_node.h"
#include "xml/xml_dump.h"

namespace dialog_dump {

inline std::string displayMark(const CDialogNode& n) {
  if (n.display == CDialogNode::Block) {
    return ":block";
  }
  return n.display == CDialogNode::None ? ":none" : "";
}

// "(name=value;...)" sorted by name, or nothing: the XML tests' picture of
// an element without name and children carrying the same attributes.
inline std::string attributes(const CDialogAttributes& map) {
  CXmlNode holder(CXmlNodeBase::Element, std::wstring());
  holder.attributes = map;
  return xml_dump::node(holder);
}

inline std::string node(const CDialogTreeNode& n) {
  if (n.isText()) {
    return "\"" + xml_dump::visible(n.name) + "\"";
  }
  if (n.isLineBreak()) {
    return "<br>";
  }
  std::string out = xml_dump::visible(n.name) + displayMark(n);
  out += attributes(n.attributes);
  if (const CDialogTreeNode* child = n.firstChildNode()) {
    out += "[";
    for (; child; child = child->nextSiblingNode()) {
      out += node(*child) + (child->nextSiblingNode() ? "," : "");
    }
    out += "]";
  }
  return out;
}

}  // namespace dialog_dump
