// The clean-up passes that run after a document has been read, in this
// order: namespace collection, namespace resolution, comment removal,
// whitespace removal.
#pragma once

#include "xml/xml_document.h"

namespace xml_passes {

// Every xmlns:prefix attribute anywhere in the document declares the prefix
// for the whole document; a later declaration replaces an earlier one.
void collectNamespaces(CXmlRootBase& document);
// A prefixed element name with a declared prefix becomes its local name and
// gets the namespace; an unprefixed element takes its own xmlns attribute
// (nothing is inherited from its parent).
void resolveNamespaces(CXmlRootBase& document);
void removeComments(CXmlRootBase& document);
// Removes text nodes made only of tab, line feed, carriage return and space.
void removeBlankText(CXmlRootBase& document);

}  // namespace xml_passes
