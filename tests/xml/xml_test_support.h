// Parsing and writing from and to byte strings, for the XML tests.
#pragma once

#include <string>

#include "base/stream_in_memory.h"
#include "base/stream_out_mem.h"
#include "xml/xml_parser.h"
#include "xml/xml_writer.h"

inline XmlDocumentPtr parseBytes(const std::string& bytes) {
  XStreamInMemory in(bytes.data(), bytes.size());
  return parseDocument(in);
}

inline std::string writeBytes(const XmlDocumentPtr& document) {
  XStreamOutMem out;
  writeDocument(document, out);
  out.flush();
  return std::string(out.bytes().begin(), out.bytes().end());
}
