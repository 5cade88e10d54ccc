#include "resource/string_table.h"

#include <optional>

#include "app/exception.h"
#include "base/text.h"

namespace {

std::wstring withoutCarriageReturns(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t n = 0; n < text.size(); ++n) {
    if (text[n] == L'\r' && n + 1 < text.size() && text[n + 1] == L'\n') {
      continue;
    }
    out.push_back(text[n]);
  }
  return out;
}

bool isMultiLine(std::wstring_view text) {
  const std::wstring_view rest = trimmed(text, kLineBlanks);
  return !rest.empty() && (rest.front() == L'\n' || rest.front() == L'\r');
}

// Drops the blanks that indent every line, then the spaces and line feeds at
// both ends; tabs at the ends stay.
std::wstring unindented(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  bool lineStart = false;
  for (const wchar_t c : text) {
    if (lineStart && (c == L' ' || c == L'\t')) {
      continue;
    }
    lineStart = c == L'\n';
    out.push_back(c);
  }
  return std::wstring(trimmed(out, L" \n"));
}

[[noreturn]] void throwTableError(std::wstring message) {
  std::wstring text = std::move(message);
  for (const char c : std::string_view(kStringTableName)) {
    text.push_back(static_cast<wchar_t>(c));
  }
  throw XExceptionResource(std::move(text));
}

// The text of an "s" element, when its first child is a text node.
std::optional<std::wstring> entryText(const CXmlNode& element) {
  if (!element.isElement() || element.text != L"s") {
    return std::nullopt;
  }
  const CXmlNode* first = element.firstChildNode();
  if (!first || !first->isText()) {
    return std::nullopt;
  }
  return first->text;
}

}  // namespace

std::wstring stringEntryText(std::wstring_view text) {
  std::wstring joined = withoutCarriageReturns(text);
  if (!isMultiLine(joined)) {
    return joined;
  }
  return unindented(joined);
}

void readStringTable(const XmlDocumentPtr& document, CStringTable& table) {
  const XmlNodePtr root = documentElement(document);
  if (!root || !root->isElement() || root->text != L"stringtable") {
    throwTableError(L"Invalid string table: ");
  }
  for (const CXmlNode* child = root->firstChildNode(); child; child = child->nextSiblingNode()) {
    const std::optional<std::wstring> text = entryText(*child);
    if (!text) {
      continue;
    }
    const std::wstring* rawId = child->attributes.find(L"id");
    if (!rawId) {
      continue;
    }
    const std::wstring_view id = trimmed(*rawId);
    if (id.empty()) {
      throwTableError(L"Invalid unnamed entry in string table: ");
    }
    const std::optional<CStringKey> key = stringIdKey(id);
    if (!key) {
      throwTableError(L"Invalid entry \"" + std::wstring(id) + L"\" in string table: ");
    }
    table.set(*key, stringEntryText(*text));
  }
}
