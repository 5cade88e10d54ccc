// Step 2 of preparing a dialog: the named attribute sets of `class`
// elements, handed to the elements that name them.
#pragma once

#include "xml/xml_document.h"

// Walks the tree below root in document order.  A `class` element is taken
// out of the tree; when it has a `name` it is visible from then on to its
// following siblings and their descendants.  An element whose `class` value
// equals a visible class's name receives each of that class's attributes
// (except `name`) that it does not have yet; when several visible classes
// share the name, the most recent is applied first, so later definitions win.
void applyClasses(const XmlNodePtr& root);
