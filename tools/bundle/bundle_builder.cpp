#include "bundle/bundle_builder.h"

#include <cstdio>
#include <fstream>

#include "app/exception.h"
#include "resource/bundle_records.h"
#include "base/utf8.h"
#include "base/rc4.h"
#include "resource/resource_bundle.h"
#include "resource/string_table.h"

namespace bundle {
namespace {

bool endsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string messageOf(const XException& error) { return toUtf8(error.getText()); }

std::vector<std::string> namesIn(const std::vector<std::uint8_t>& block) {
  std::vector<std::string> names;
  walkBundleRecords(block.data(), block.size(), [&names](const CBundleRecord& record) {
    names.emplace_back(record.name.begin(), record.name.end());
  });
  return names;
}

std::size_t checkStringTable() {
  CStringTable table;
  try {
    readStringTable(loadXmlResource(kStringTableName), table);
  } catch (const XException& error) {
    throw CBundleError(std::string(kStringTableName) + ": " + messageOf(error));
  } catch (...) {
    throw CBundleError(std::string(kStringTableName) + ": the document ends inside an element");
  }
  return table.size();
}

void checkMarkup(const std::string& name) {
  XmlDocumentPtr document;
  try {
    document = loadXmlResource(name);
  } catch (const XException& error) {
    throw CBundleError(name + ": " + messageOf(error));
  } catch (...) {
    throw CBundleError(name + ": the document ends inside an element");
  }
  const XmlNodePtr root = documentElement(document);
  if (!root || !root->isElement() || root->text != L"dialog") {
    throw CBundleError(name + ": the document element must be \"dialog\"");
  }
}

void checkPicture(const std::string& name) {
  static const std::string kSignature("\x89PNG\r\n\x1a\n", 8);
  const std::optional<CResourceBytes> bytes = findResource(name);
  if (!bytes || bytes->size < kSignature.size() ||
      std::string(reinterpret_cast<const char*>(bytes->data), kSignature.size()) != kSignature) {
    throw CBundleError(name + ": not a PNG file");
  }
}

// The bundle's index belongs to the program: the check borrows it and gives
// it back empty whatever happens.
class CBorrowedIndex {
public:
  explicit CBorrowedIndex(const std::vector<std::uint8_t>& block) { indexResourceBundle(block.data(), block.size()); }
  ~CBorrowedIndex() { indexResourceBundle(nullptr, 0); }
  CBorrowedIndex(const CBorrowedIndex&) = delete;
  CBorrowedIndex& operator=(const CBorrowedIndex&) = delete;
};

void writeFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) {
    throw CBundleError("cannot write " + path.string());
  }
}

void appendBytes(std::string& out, const std::uint8_t* bytes, std::size_t count) {
  char hex[8];
  for (std::size_t n = 0; n < count; ++n) {
    std::snprintf(hex, sizeof hex, "0x%02X,", bytes[n]);
    out += hex;
    out += (n % 16 == 15 || n + 1 == count) ? "\n" : "";
  }
}

}  // namespace

std::vector<std::uint8_t> packBundle(const std::vector<CBundleFile>& files) {
  std::vector<std::uint8_t> block;
  for (const CBundleFile& file : files) {
    const std::string bytes = readBundleFile(file);
    try {
      appendBundleRecord(block, std::u16string(file.name.begin(), file.name.end()), bytes.data(), bytes.size());
    } catch (const XExceptionArgument& error) {
      throw CBundleError(file.path.string() + ": " + messageOf(error));
    }
  }
  return block;
}

std::size_t checkBundle(const std::vector<std::uint8_t>& block) {
  const CBorrowedIndex index(block);
  if (!findResource(kStringTableName)) {
    throw CBundleError(std::string("the bundle has no ") + kStringTableName);
  }
  const std::size_t strings = checkStringTable();
  for (const std::string& name : namesIn(block)) {
    if (endsWith(name, ".xml") && name != kStringTableName) {
      checkMarkup(name);
    } else if (endsWith(name, ".png")) {
      checkPicture(name);
    }
  }
  return strings;
}

std::string bundleSource(const std::vector<std::uint8_t>& block, const std::string& origin) {
  std::vector<std::uint8_t> enciphered = block;
  CRc4(kBundleKey, sizeof kBundleKey).process(enciphered.data(), enciphered.size());

  std::string out;
  out += "// The resource bundle of setup.exe, made by brantel-bundle from " + origin + ".\n";
  out += "// Generated at build time; not to be edited or committed.\n";
  out += "#include <cstdint>\n\n#include \"resource/bundle_program.h\"\n\nnamespace {\n\n";
  out += "// " + std::to_string(block.size()) + " bytes, deciphered in place at start-up.\n";
  out += "alignas(16) std::uint8_t bundleBlock[" + std::to_string(enciphered.size()) + "] = {\n";
  appendBytes(out, enciphered.data(), enciphered.size());
  out += "};\n\nconst std::uint8_t bundleKey[16] = {\n";
  appendBytes(out, kBundleKey, sizeof kBundleKey);
  out += "};\n\n";
  out += "struct CBundleInstaller {\n";
  out += "  CBundleInstaller() noexcept { installProgramBundle(bundleBlock, sizeof bundleBlock, bundleKey); }\n";
  out += "};\n\nconst CBundleInstaller installer;\n\n}  // namespace\n";
  return out;
}

CBundleSummary buildBundle(const std::vector<std::filesystem::path>& folders, const std::filesystem::path& output) {
  const std::vector<CBundleFile> files = collectBundleFiles(folders);
  const std::vector<std::uint8_t> block = packBundle(files);
  CBundleSummary summary;
  summary.files = files.size();
  summary.bytes = block.size();
  summary.strings = checkBundle(block);
  std::string origin;
  for (const std::filesystem::path& folder : folders) {
    origin += (origin.empty() ? "" : ", ") + folder.filename().string();
  }
  writeFile(output, bundleSource(block, origin));
  return summary;
}

}  // namespace bundle
