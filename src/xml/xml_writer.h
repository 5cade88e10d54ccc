// The XML writer: compact UTF-8, one declaration, then the document element
// and its descendants, with no line breaks or indentation added.
#pragma once

#include <string>
#include <string_view>

#include "base/stream_out.h"
#include "xml/xml_document.h"

// Switches the stream to text mode and writes the declaration and the
// document element (further top-level elements are not written; a document
// without one gives the declaration alone).  Attributes come in the iteration
// order of their hash map.  The caller flushes the stream afterwards.  A sink
// that refuses a flush raises XStreamOut::ERR.
void writeDocument(const XmlDocumentPtr& document, XStreamOut& stream);

// Replaces '"', '&', '\'', '<' and '>' by their entities; everything else,
// line ends and control characters included, stays as it is.
std::wstring escapeText(std::wstring_view text);
