// Markup text in, prepared dialog out, for the dialog tests.
#pragma once

#include <string>

#include "base/stream_in_memory.h"
#include "dialog/dialog_prepare.h"
#include "dialog_dump.h"
#include "xml/xml_parser.h"

inline XmlNodePtr markupRoot(const std::string& markup) {
  XStreamInMemory in(markup.data(), markup.size());
  return documentElement(parseDocument(in));
}

inline DialogModel preparedModel(const std::string& markup) { return prepareDialog(markupRoot(markup)); }

// The picture of the tree that preparing the markup gives.
inline std::string preparedTree(const std::string& markup) {
  return dialog_dump::node(*preparedModel(markup).root);
}
