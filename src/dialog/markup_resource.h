// Markup documents named in markup (a dialog's `base`).
#pragma once

#include <string_view>

#include "xml/xml_document.h"

// The bundle file of that name, parsed; the wide name is converted to the
// bundle's 8-bit names with the ANSI code page.  A missing file throws
// XExceptionResource ("Resource not found: " + name).
XmlDocumentPtr loadMarkupResource(std::wstring_view name);
