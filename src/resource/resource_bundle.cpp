#include "resource/resource_bundle.h"

#include "app/exception.h"
#include "resource/bundle_program.h"
#include "resource/bundle_records.h"
#include "base/rc4.h"
#include "resource/resource_name.h"
#include "base/stream_in_memory.h"
#include "resource/string_table.h"
#include "base/hash_map.h"
#include "xml/xml_parser.h"

namespace {

using CResourceIndex = THashMap<std::string, CResourceBytes>;

// Built before wWinMain and read-only afterwards.  Function-local, so that a
// static initialiser in another file can fill it whatever the order in which
// the files' initialisers run.
CResourceIndex& resourceIndex() {
  static CResourceIndex index;
  return index;
}

struct CStringTableState {
  bool loaded = false;
  CStringTable table;
};

CStringTableState& stringTableState() {
  static CStringTableState state;
  return state;
}

// Read on the first lookup, once: a table that failed to load is not read
// again, and keeps the entries read before the failure.
const CStringTable& stringTable() {
  CStringTableState& state = stringTableState();
  if (!state.loaded) {
    state.loaded = true;
    readStringTable(loadXmlResource(kStringTableName), state.table);
  }
  return state.table;
}

const std::wstring* findString(std::string_view name) {
  const CStringKey key = stringNameKey(name);
  return stringTable().find(key);
}

}  // namespace

void indexResourceBundle(const void* block, std::size_t size) {
  CResourceIndex index;
  walkBundleRecords(block, size, [&index](const CBundleRecord& record) {
    index.set(bundleFileName(record.name), CResourceBytes{record.data, record.size});
  });
  resourceIndex() = std::move(index);
  stringTableState() = CStringTableState{};
}

std::optional<CResourceBytes> findResource(std::string_view name) {
  if (const CResourceBytes* bytes = resourceIndex().find(name)) {
    return *bytes;
  }
  return std::nullopt;
}

XmlDocumentPtr loadXmlResource(std::string_view name) {
  const std::optional<CResourceBytes> bytes = findResource(name);
  if (!bytes) {
    throw XExceptionResource(L"Resource not found: " + displayedName(name));
  }
  XStreamInMemory stream(bytes->data, bytes->size);
  return parseDocument(stream);
}

// Only a dot of the file's own name counts: a dotted folder ("img.hd/logo")
// must not get the suffix in the middle of its name.
std::string highResolutionName(std::string_view name) {
  const std::size_t slash = name.rfind('/');
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
    return std::string(name) + "-x2";
  }
  return std::string(name.substr(0, dot)) + "-x2" + std::string(name.substr(dot));
}

std::wstring lookupString(std::string_view name) {
  if (const std::wstring* text = findString(name)) {
    return *text;
  }
  throw XExceptionResourceString(L"Resource string not found: " + displayedName(name));
}

std::wstring lookupString(std::string_view name, std::wstring_view defaultText) {
  if (const std::wstring* text = findString(name)) {
    return *text;
  }
  return std::wstring(defaultText);
}

std::wstring lookupString(std::wstring_view name) { return lookupString(resourceName(name)); }

std::wstring lookupString(std::wstring_view name, std::wstring_view defaultText) {
  return lookupString(resourceName(name), defaultText);
}

void installProgramBundle(std::uint8_t* block, std::size_t size, const std::uint8_t (&key)[16]) noexcept {
  CRc4(key, sizeof key).process(block, size);
  indexResourceBundle(block, size);
}
