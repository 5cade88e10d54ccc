#include "dialog/markup_resource.h"

#include "resource/resource_bundle.h"
#include "resource/resource_name.h"

XmlDocumentPtr loadMarkupResource(std::wstring_view name) { return loadXmlResource(resourceName(name)); }
