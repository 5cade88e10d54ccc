// Step 3 of preparing a dialog: texts from the string table.  The markup's
// own texts are the defaults; a key the table lacks leaves them as written.
#pragma once

#include "xml/xml_document.h"

// The root's `lid` is the dialog's prefix and leaves the root.  Then, in
// document order, for each element:
// - with a non-empty `lid` K (the key is the prefix followed by K when K
//   starts with '.' and there is a prefix, else K): `title` becomes the text
//   of key + ".title", and a first child that is text becomes the text of
//   the key;
// - otherwise an `xbutton` with a `type` gets the non-empty text of
//   "xbutton." + its type in lower case as its caption;
// - otherwise a `caption` gets the text of prefix + ".caption".
// String-table failures other than a missing key propagate.
void localiseMarkup(const XmlNodePtr& root);
