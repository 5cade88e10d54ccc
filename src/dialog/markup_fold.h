// Step 4 of preparing a dialog: the markup copied into dialog nodes, with
// letter case folded.
#pragma once

#include "dialog/dialog_node.h"
#include "xml/xml_document.h"

// A copy of the element and everything below it.  Element names become
// lower case; attribute names are trimmed of white space and become lower
// case; attribute values become lower case, except that of `title`; text
// keeps its case.  Each element's display is set from its name and
// `display`.
DialogNodePtr copyFolded(const CXmlNode& element);
