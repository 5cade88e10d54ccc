// The resource bundle's readers over arbitrary bytes: the input walked as a
// record block (every record must lie inside it, its name within its field),
// then taken as the string table "strings/default.xml" of a bundle and read by
// the first lookup.  The
// table either fails with a member of the exception family or gives texts
// no longer than what was written, and never faults.
#include <cstdint>
#include <string>

#include "app/exception.h"
#include "resource/bundle_records.h"
#include "resource/resource_bundle.h"
#include "base/stream_in.h"
#include "resource/string_table.h"

namespace {

void walkInside(const std::uint8_t* data, std::size_t size) {
  walkBundleRecords(data, size, [data, size](const CBundleRecord& record) {
    if (record.data < data || record.size > size || record.data + record.size > data + size ||
        record.name.size() > kBundleNameUnits) {
      __builtin_trap();
    }
  });
}

// Line ends and blanks are only ever taken away.
void checkText(const std::wstring& text, std::size_t written) {
  if (text.size() > written) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  walkInside(data, size);

  const std::string table(reinterpret_cast<const char*>(data), size);
  checkText(stringEntryText(std::wstring(table.begin(), table.end())), size);
  const std::vector<std::uint8_t> block = makeBundleBlock({{kStringTableName, table}});
  indexResourceBundle(block.data(), block.size());
  try {
    checkText(lookupString("xbutton.ok", L""), size);
    checkText(lookupString("welcome.text", L""), size);
  } catch (const XException&) {
  } catch (const XStreamIn::EOS&) {
  }
  indexResourceBundle(nullptr, 0);
  return 0;
}
