// parseDocument on arbitrary bytes: it either fails with "XML parse error" or
// gives a consistent tree without comments, and never faults.
#include "xml_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const XmlDocumentPtr document = parseOrEmpty(data, size);
  if (!document) {
    return 0;
  }
  checkLinks(*document->documentNode);
  if (const XmlNodePtr element = documentElement(document)) {
    FUZZ_CHECK(element->isElement());
    for (const auto& entry : element->attributes) {
      FUZZ_CHECK(getAttribute(element, entry.key) == entry.value);
    }
  }
  return 0;
}
