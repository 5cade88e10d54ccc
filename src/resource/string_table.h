// The string table: every user-visible text of the setup, by key, read from
// the bundle file "strings/default.xml".
//
//   <stringtable>
//     <s id="button.next">Next</s>
//     <s id="{0B5F3A11-...}">...</s>
//     <s id="0x0C">
//       a text over
//       several lines
//     </s>
//   </stringtable>
#pragma once

#include <string>
#include <string_view>

#include "resource/string_table_key.h"
#include "base/hash_map.h"
#include "xml/xml_document.h"

inline constexpr char kStringTableName[] = "strings/default.xml";

// The table hashes a key as the sum of its words.
template <>
struct THashKey<CStringKey> {
  using View = const CStringKey&;
  static std::uint32_t hash(View key) noexcept {
    return key.words[0] + key.words[1] + key.words[2] + key.words[3];
  }
};

using CStringTable = THashMap<CStringKey, std::wstring>;

// An entry's text as the table keeps it: CR LF becomes LF; a text whose first
// line is blank (the multi-line form) loses the indentation after every line
// feed and the spaces and line feeds at both ends.  Any other text stays.
std::wstring stringEntryText(std::wstring_view text);

// Adds the entries of a parsed string table to the table, in document order,
// a repeated key keeping the last text.  A document element that is not
// "stringtable", an empty id, and a name id with a character outside 32 to
// 127 throw XExceptionResource; the entries before the error stay.
void readStringTable(const XmlDocumentPtr& document, CStringTable& table);
