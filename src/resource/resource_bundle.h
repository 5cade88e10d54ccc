// The resource bundle: the setup's dialog markup, string table and pictures.
//
// The bundle is one enciphered block in the program's data.  A static
// initialiser deciphers it before wWinMain and indexes its files by their
// 8-bit names ("strings/default.xml", "img/setup-logo.png"); names are matched
// exactly, letter case included.  The index never changes afterwards, so any
// thread may read it.
//
// Every user-visible text is looked up by name in the string table
// "strings/default.xml", which is read on the first lookup.  That first lookup
// must happen on the interface thread before any worker looks a string up:
// the table has no lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "xml/xml_document.h"

class XBitmapBase;

// The bytes of one bundle file; they live until the process ends.
struct CResourceBytes {
  const std::uint8_t* data = nullptr;
  std::uint32_t size = 0;
};

// The named file, or nothing when the bundle has no file of exactly that name.
std::optional<CResourceBytes> findResource(std::string_view name);

// The named file parsed as an XML document.  A missing name throws
// XExceptionResource ("Resource not found: " + name); parse errors propagate
// as the parser raises them.
XmlDocumentPtr loadXmlResource(std::string_view name);

// "-x2" inserted before the last '.' of the name, or appended when it has none:
// "img/setup-logo.png" -> "img/setup-logo-x2.png".
std::string highResolutionName(std::string_view name);

// Decodes the named picture into image; a picture that is missing or cannot
// be decoded throws XExceptionResource ("Required resource cannot be loaded").
// highResolution gets the "-x2" variant, or, when that is missing or broken,
// the first picture scaled to twice its width and height.  Windows only.
void loadImageResource(std::string_view name, XBitmapBase& image, XBitmapBase& highResolution);

// The text named in the string table.  Without a default, a missing name
// throws XExceptionResourceString ("Resource string not found: " + name).
// String-table errors (a missing table, a bad entry) throw XExceptionResource
// to the first caller; the entries read before the error stay.
std::wstring lookupString(std::string_view name);
std::wstring lookupString(std::string_view name, std::wstring_view defaultText);
// The same for a name taken from markup: converted with the ANSI code page
// (in the host tree, where there is none, characters above 0x7F become '?').
std::wstring lookupString(std::wstring_view name);
std::wstring lookupString(std::wstring_view name, std::wstring_view defaultText);

// Tests and fuzzing: indexes the given deciphered record block (see
// bundle_records.h to make one) in place of the program's bundle and forgets
// the string table, so that the next lookup reads the new block's
// "strings/default.xml".  The block must outlive every use of the bundle.
void indexResourceBundle(const void* block, std::size_t size);
