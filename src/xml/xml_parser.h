// The XML parser: strict in its own way, and its oddities are relied on.
//
// Bytes before the first element are read as 8-bit text and the rest as
// UTF-8 (an XML declaration switches to UTF-8 at once); text content is kept
// exactly as written, entities are decoded in attribute values only, blanks
// before '=' belong to the attribute name, end tags must repeat the start
// tag's name exactly, namespace prefixes are declared document-wide, and
// Ctrl-Z ends the document.  Comments and whitespace-only text are dropped.
#pragma once

#include "base/stream_in.h"
#include "xml/xml_document.h"

// Elements nested deeper than this fail the parse: far above any real markup
// (dialogs nest a dozen levels), and low enough that the recursive parser,
// writer and tree destructor stay well inside a worker thread's stack.
inline constexpr unsigned kMaxXmlDepth = 256;

// Reads a whole document.  Malformed input, including input that ends inside
// an element, throws XExceptionXml ("XML parse error"); the partly built
// document is released.  XExceptionXml is an ordinary member of the
// XException family, so a malformed document reaches the user through the
// same handlers as every other failure instead of ending a worker silently.
// A read failure of a file inside an element propagates as the stream raises
// it.
XmlDocumentPtr parseDocument(XStreamIn& stream);
