// Dialog markup from the bundle, prepared into the model of one dialog.
#pragma once

#include <string_view>

#include "dialog/dialog_model.h"
#include "xml/xml_document.h"

// The document element of the named markup file of the bundle.  A missing
// file throws XExceptionResource, a malformed one XExceptionXml.
XmlNodePtr loadDialogMarkup(std::wstring_view name);

// Prepares the markup below root, once per dialog, in this order:
// (1) the class definitions and header of its base dialogs,
// (2) the classes applied, (3) the texts localised, (4) the tree copied into
// dialog nodes with letter case folded.  Steps 1 to 3 change the parsed
// markup in place.  A root that is not `dialog` is prepared all the same;
// building its window fails (readDialogHeader).
DialogModel prepareDialog(const XmlNodePtr& root);
