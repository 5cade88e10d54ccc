#include "dialog/markup_resource.h"

#include "base/resource_bundle.h"
#include "base/resource_name.h"

XmlDocumentPtr loadMarkupResource(std::wstring_view name) { return loadXmlResource(resourceName(name)); }
