// For the parse fuzz target: reading the fuzzer's bytes, the tree's
// consistency, and a check that stops the run with a report.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/exception.h"
#include "base/stream_in_memory.h"
#include "xml/xml_parser.h"

#define FUZZ_CHECK(condition)                                              \
  do {                                                                     \
    if (!(condition)) {                                                    \
      std::fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
      std::abort();                                                        \
    }                                                                      \
  } while (0)

// The parsed document, or empty for input that is not XML to this parser.
inline XmlDocumentPtr parseOrEmpty(const std::uint8_t* data, std::size_t size) {
  XStreamInMemory in(data, size);
  try {
    return parseDocument(in);
  } catch (const XExceptionXml& e) {
    FUZZ_CHECK(e.getText() == L"XML parse error");
    return {};
  }
}

// Every link of the tree below node agrees with its neighbours.
inline void checkLinks(const CXmlNode& node, unsigned depth = 0) {
  FUZZ_CHECK(depth <= kMaxXmlDepth + 1);
  const CXmlNode* previous = nullptr;
  for (const CXmlNode* child = node.firstChildNode(); child; child = child->nextSiblingNode()) {
    FUZZ_CHECK(child->parentNode() == &node);
    FUZZ_CHECK(child->prevSiblingNode() == previous);
    FUZZ_CHECK(child->isElement() || !child->firstChildNode());
    FUZZ_CHECK(!child->isComment());
    checkLinks(*child, depth + 1);
    previous = child;
  }
  FUZZ_CHECK(node.lastChildNode() == previous);
}
