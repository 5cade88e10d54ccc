// Step 1 of preparing a dialog: what it inherits from the base dialogs that
// its root names in `base`.
#pragma once

#include "xml/xml_document.h"

// A chain of base dialogs is followed this far; a longer chain, or one that
// comes back to a dialog already in it, stops there.
inline constexpr int kMaxBaseLevels = 20;

// Loads the root's base dialog, lets it inherit from its own base first, and
// then takes from it:
// - every `class` child of its root, moved before the root's first child in
//   their order, so the deepest base's classes come first, then the nearer
//   bases', then the dialog's own content;
// - the header: each root attribute that the dialog's root lacks, and its
//   `caption` when the dialog has none.
// A root that is not `dialog` has no base; a base whose root is not `dialog`
// gives nothing.  A base missing from the bundle throws XExceptionResource.
void inheritBaseDialogs(const XmlNodePtr& root);
