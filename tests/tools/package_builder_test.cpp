// The package builder: what it packs comes back through the setup's own
// reader, and every input the setup could not install is refused.
#include "package/package_builder.h"

#include <gtest/gtest.h>

#include <map>

#include "base/zip_archive.h"
#include "base/zip_cipher.h"
#include "base/zip_test_support.h"
#include "package/product_files.h"
#include "package_test_folder.h"

namespace {

using package_test::CTempFolder;

zip::CKeyField fixedKeyField() {
  zip::CKeyField field{};
  for (std::size_t i = 0; i < field.size(); ++i) {
    field[i] = static_cast<std::uint8_t>(0xA0 + i);
  }
  return field;
}

// What the setup finds in a package: entry name to contents, in package
// order.
std::vector<std::pair<std::string, std::vector<std::uint8_t>>> unpack(const std::vector<std::uint8_t>& container) {
  std::vector<std::uint8_t> body;
  EXPECT_TRUE(zip::decipherContainer(container.data(), container.size(), body));
  TRefPtr<zip::CZIPFile> archive = zip::openArchive(body.data(), body.size());
  EXPECT_TRUE(archive);
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> entries;
  if (!archive) {
    return entries;
  }
  // Every package carries its digest, as the setup demands.
  EXPECT_TRUE(archive->hasValidDigest());
  for (int step = archive->firstEntry(); step == zip::kOk; step = archive->nextEntry()) {
    zip::CEntryInfo info;
    EXPECT_TRUE(archive->currentEntry(info));
    zip_test::CVectorSink sink;
    EXPECT_TRUE(archive->extractCurrent(&sink, nullptr, nullptr)) << info.name;
    EXPECT_EQ(sink.bytes.size(), info.size) << info.name;
    entries.emplace_back(info.name, sink.bytes);
  }
  return entries;
}

TEST(PackageBuilder, EveryFileComesBackThroughTheSetupsReader) {
  CTempFolder product;
  const std::map<std::string, std::vector<std::uint8_t>> files = {
      {"Brantel.exe", zip_test::noiseBytes(70000, 1)},
      {"bin/name x86.dll", zip_test::textBytes(30000, 2)},
      {"bin/name x64.dll", zip_test::textBytes(31000, 3)},
      {"data/empty.txt", {}},
      {"a/b/c/deep.txt", zip_test::textBytes(5000, 4)},
      {"caf\xc3\xa9.txt", zip_test::textBytes(100, 5)},  // UTF-8 on the host
  };
  for (const auto& [name, bytes] : files) {
    product.write(name, bytes);
  }
  package::CPackOptions options;
  options.keyField = fixedKeyField();
  const package::CPackResult result = package::buildPackage(product.root(), options);

  const auto entries = unpack(result.container);
  ASSERT_EQ(entries.size(), files.size());
  std::uint64_t bytesIn = 0;
  for (const auto& [entryName, bytes] : entries) {
    // The setup reads 8-bit names in the system's code page: 1252 here.
    const std::string hostName = entryName == "caf\xe9.txt" ? "caf\xc3\xa9.txt" : entryName;
    ASSERT_EQ(files.count(hostName), 1u) << "unexpected entry " << entryName;
    EXPECT_EQ(bytes, files.at(hostName)) << hostName;
    bytesIn += bytes.size();
  }
  EXPECT_EQ(result.bytesIn, bytesIn);
  const zip::CKeyField field = fixedKeyField();
  EXPECT_TRUE(std::equal(field.begin(), field.end(), result.container.begin()));

  // Files that do not shrink are stored, the others deflated.
  for (const package::CPackedFile& file : result.files) {
    const bool noise = file.shownName == "Brantel.exe";
    const bool empty = file.shownName == "data/empty.txt";
    EXPECT_EQ(file.method, noise || empty ? package::Method::Stored : package::Method::Deflated) << file.shownName;
    if (file.method == package::Method::Deflated) {
      EXPECT_LT(file.bytesOut, file.bytesIn) << file.shownName;
    } else {
      EXPECT_EQ(file.bytesOut, file.bytesIn) << file.shownName;
    }
  }
}

TEST(PackageBuilder, OtherCodePagesWriteTheirOwnBytes) {
  CTempFolder product;
  product.write("\xe6\x97\xa5\xe6\x9c\xac.txt", "nihon");  // two kanji
  package::CPackOptions options;
  options.keyField = fixedKeyField();
  EXPECT_THROW(package::buildPackage(product.root(), options), package::CBuildError);
  options.codePage = 932;
  const auto entries = unpack(package::buildPackage(product.root(), options).container);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].first, "\x93\xfa\x96\x7b.txt");
}

// The key field under which RC4's first two keystream bytes are zero: the
// archive's "PK" would show through.
zip::CKeyField keyFieldThatShowsPK() {
  zip::CKeyField field{};
  for (std::uint32_t n = 0;; ++n) {
    for (std::size_t i = 0; i < 4; ++i) {
      field[i] = static_cast<std::uint8_t>(n >> (8 * i));
    }
    const std::vector<std::uint8_t> container = zip::encipherContainer({'P', 'K'}, field);
    if (container[16] == 'P' && container[17] == 'K') {
      return field;
    }
  }
}

TEST(PackageBuilder, EncipheredPackageNeverBeginsWithPK) {
  CTempFolder product;
  product.write("readme.txt", "some text");
  const zip::CKeyField showing = keyFieldThatShowsPK();

  package::CPackOptions options;
  options.keyField = showing;
  EXPECT_THROW(package::buildPackage(product.root(), options), package::CBuildError);

  // Drawn key fields are drawn again until the signature is hidden.
  int draws = 0;
  options.keyField.reset();
  options.draw = [&] { return ++draws == 1 ? showing : fixedKeyField(); };
  const package::CPackResult result = package::buildPackage(product.root(), options);
  EXPECT_EQ(draws, 2);
  const zip::CKeyField second = fixedKeyField();
  EXPECT_TRUE(std::equal(second.begin(), second.end(), result.container.begin()));
  EXPECT_FALSE(result.container[16] == 'P' && result.container[17] == 'K');

  // And with real random key fields.
  options.draw = package::randomKeyField;
  for (int i = 0; i < 20; ++i) {
    const std::vector<std::uint8_t> container = package::buildPackage(product.root(), options).container;
    EXPECT_FALSE(container[16] == 'P' && container[17] == 'K');
    EXPECT_EQ(unpack(container).size(), 1u);
  }
}

struct CRefusalCase {
  const char* what;
  std::function<std::filesystem::path(const CTempFolder&)> make;  // answers the folder to pack
  const char* message;
};

TEST(PackageBuilder, RefusesWhatTheSetupCouldNotInstall) {
  const std::vector<CRefusalCase> cases = {
      {"missing folder", [](const CTempFolder& t) { return t.root() / "missing"; }, "does not exist"},
      {"a file for a folder", [](const CTempFolder& t) { return t.write("file", "x"); }, "is not a folder"},
      {"no file at all",
       [](const CTempFolder& t) {
         std::filesystem::create_directories(t.root() / "only/folders");
         return t.root();
       },
       "holds no file"},
      {"broken link",
       [](const CTempFolder& t) {
         t.write("fine.txt", "x");
         std::filesystem::create_symlink(t.root() / "nowhere", t.root() / "broken.dll");
         return t.root();
       },
       "cannot read"},
      {"name longer than 255 bytes",
       [](const CTempFolder& t) {
         t.write(std::string(100, 'd') + "/" + std::string(155, 'f') + ".txt", "x");
         return t.root();
       },
       "too long"},
      {"names differing in ASCII case",
       [](const CTempFolder& t) {
         t.write("bin/Readme.txt", "1");
         t.write("bin/README.TXT", "2");
         return t.root();
       },
       "differ only in letter case"},
      {"folders differing in case",
       [](const CTempFolder& t) {
         t.write("Bin/a.txt", "1");
         t.write("bin/A.txt", "2");
         return t.root();
       },
       "differ only in letter case"},
      {"a file and a folder differing in case",
       [](const CTempFolder& t) {
         t.write("Docs", "a file");
         t.write("docs/a.txt", "in the folder");
         return t.root();
       },
       "the same name on Windows"},
      {"names differing in non-ASCII case",
       [](const CTempFolder& t) {
         t.write("\xc3\x84rger.txt", "1");  // Ärger
         t.write("\xc3\xa4rger.txt", "2");  // ärger
         return t.root();
       },
       "differ only in letter case"},
      {"device name", [](const CTempFolder& t) { t.write("con.txt", "x"); return t.root(); }, "cannot be installed"},
      {"device name with a superscript digit",
       [](const CTempFolder& t) {
         t.write("bin/COM\xc2\xb9.txt", "x");  // COM and superscript one
         return t.root();
       },
       "cannot be installed"},
      {"installed path beyond the system's limit",
       [](const CTempFolder& t) {
         // 30 characters of installation directory, "\\", 229: 260.
         t.write(std::string(100, 'd') + "/" + std::string(124, 'f') + ".txt", "x");
         return t.root();
       },
       "too long to install"},
      {"installed folder beyond the system's limit",
       [](const CTempFolder& t) {
         // The file's path fits, its folder's does not: 30 + 1 + 217 = 248.
         t.write(std::string(217, 'd') + "/x.txt", "x");
         return t.root();
       },
       "too long to install"},
      {"parent component with backslashes",
       [](const CTempFolder& t) {
         t.write("..\\..\\evil.dll", "x");  // one host file name holding backslashes
         return t.root();
       },
       "cannot be installed"},
      {"drive letter", [](const CTempFolder& t) { t.write("c:evil.dll", "x"); return t.root(); },
       "cannot be installed"},
      {"not in the code page",
       [](const CTempFolder& t) {
         t.write("\xe6\x97\xa5.txt", "x");
         return t.root();
       },
       "cannot be written in code page 1252"},
      {"invalid UTF-8", [](const CTempFolder& t) { t.write("bad\xff.txt", "x"); return t.root(); },
       "cannot be written in code page 1252"},
  };
  for (const CRefusalCase& c : cases) {
    CTempFolder temp;
    const std::filesystem::path folder = c.make(temp);
    package::CPackOptions options;
    options.keyField = fixedKeyField();
    try {
      package::buildPackage(folder, options);
      ADD_FAILURE() << c.what << ": packed";
    } catch (const package::CBuildError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << c.what << ": " << error.what();
    }
  }
}

// The names the setup would refuse after converting them, whatever the code
// page makes of them: in UTF-8 a superscript digit is two bytes.
TEST(PackageBuilder, ChecksTheNameAsTheSystemSeesIt) {
  CTempFolder product;
  product.write("LPT\xc2\xb3", "x");  // LPT and superscript three
  package::CPackOptions options;
  options.keyField = fixedKeyField();
  options.codePage = 65001;
  EXPECT_THROW(package::buildPackage(product.root(), options), package::CBuildError);

  // The path limit counts from the installation directory assumed.
  CTempFolder deep;
  deep.write(std::string(200, 'n') + ".txt", "x");
  EXPECT_NO_THROW(package::buildPackage(deep.root(), options));
  options.installationDirectory = "C:\\" + std::string(60, 'p');
  EXPECT_THROW(package::buildPackage(deep.root(), options), package::CBuildError);
}

}  // namespace
