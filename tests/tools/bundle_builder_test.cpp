// The bundle builder: which files it takes and how it names them, every bad
// input it refuses, the checks with the program's own readers, and the
// generated source, read back and deciphered.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "resource/bundle_records.h"
#include "base/rc4.h"
#include "bundle/bundle_builder.h"

namespace {

namespace fs = std::filesystem;

class BundleBuilder : public ::testing::Test {
protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("bundle-builder-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path write(const std::string& relative, const std::string& bytes) {
    const fs::path path = root_ / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  // A folder with a valid string table and whatever else is given.
  fs::path folder(const std::string& name, const std::vector<std::pair<std::string, std::string>>& files) {
    for (const auto& [relative, bytes] : files) {
      write(name + "/" + relative, bytes);
    }
    fs::create_directories(root_ / name);
    return root_ / name;
  }
  std::string errorOf(const std::vector<fs::path>& folders) {
    try {
      bundle::buildBundle(folders, root_ / "out.cpp");
    } catch (const bundle::CBundleError& error) {
      EXPECT_FALSE(fs::exists(root_ / "out.cpp")) << "nothing is written for a bad bundle";
      return error.what();
    }
    return "<no error>";
  }

  fs::path root_;
};

const std::string kTable = "<stringtable><s id=\"a\">A</s></stringtable>";

TEST_F(BundleBuilder, NamesFilesByTheirPathWithSlashesInNameOrder) {
  const fs::path ui = folder("ui", {{"strings/default.xml", kTable}, {"img/b.png", "b"}, {"a.txt", "a"}});
  const fs::path extra = folder("extra", {{"dlg/x/y.xml", "<dialog/>"}});
  const std::vector<bundle::CBundleFile> files = bundle::collectBundleFiles({ui, extra});
  std::vector<std::string> names;
  for (const bundle::CBundleFile& file : files) {
    names.push_back(file.name);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"a.txt", "dlg/x/y.xml", "img/b.png", "strings/default.xml"}));
}

TEST_F(BundleBuilder, RefusesNamesThatDoNotFitAndDuplicates) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> files;
    std::vector<std::pair<std::string, std::string>> secondFolder;
    std::string message;
  } cases[] = {
      {{{std::string(200, 'd') + "/" + std::string(60, 'f'), "x"}}, {}, "does not fit a bundle record"},
      {{{"caf\xC3\xA9.xml", "x"}}, {}, "must be printable ASCII"},
      {{{"back\\slash.xml", "x"}}, {}, "must be printable ASCII"},
      {{{"img/logo.png", "x"}}, {{"img/logo.png", "y"}}, "duplicate bundle name \"img/logo.png\""},
      {{{"img/Logo.png", "x"}, {"img/logo.png", "y"}}, {}, "duplicate bundle name"},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string name = "case" + std::to_string(n++);
    std::vector<fs::path> folders{folder(name, c.files)};
    if (!c.secondFolder.empty()) {
      folders.push_back(folder(name + "-more", c.secondFolder));
    }
    EXPECT_NE(errorOf(folders).find(c.message), std::string::npos) << name << ": " << errorOf(folders);
  }
  // The longest name that fits is taken.
  const fs::path fits = folder("fits", {{"strings/default.xml", kTable}, {std::string(200, 'd') + "/" + std::string(58, 'f'), "x"}});
  EXPECT_EQ(errorOf({fits}), "<no error>");
}

TEST_F(BundleBuilder, RefusesWhatCannotBeRead) {
  const fs::path ui = folder("ui", {{"strings/default.xml", kTable}});
  fs::create_symlink(root_ / "nowhere.png", ui / "dangling.png");
  EXPECT_NE(errorOf({ui}).find("cannot read"), std::string::npos) << errorOf({ui});
  EXPECT_NE(errorOf({root_ / "missing"}).find("is not a folder"), std::string::npos);
}

TEST_F(BundleBuilder, ChecksTheStringTableMarkupAndPicturesAsTheProgramReadsThem) {
  const std::string png("\x89PNG\r\n\x1a\n....", 12);
  struct Case {
    std::vector<std::pair<std::string, std::string>> files;
    std::string message;
  } cases[] = {
      {{{"dlg/a.xml", "<dialog/>"}}, "the bundle has no strings/default.xml"},
      {{{"strings/default.xml", "<stringtable><s id=\"a\">A</stringtable>"}}, "strings/default.xml: XML parse error"},
      {{{"strings/default.xml", "<stringtable><s id=\"a\">A</s>"}}, "strings/default.xml: "},
      {{{"strings/default.xml", "<strings/>"}}, "strings/default.xml: Invalid string table: strings/default.xml"},
      {{{"strings/default.xml", "<stringtable><s id=\"caf\xC3\xA9\">x</s></stringtable>"}},
       "strings/default.xml: Invalid entry \"caf\xC3\xA9\" in string table: strings/default.xml"},
      {{{"strings/default.xml", kTable}, {"dlg/page.xml", "<page/>"}}, "dlg/page.xml: the document element must be \"dialog\""},
      {{{"strings/default.xml", kTable}, {"dlg/page.xml", "<dialog><div></dialog>"}}, "dlg/page.xml: XML parse error"},
      {{{"strings/default.xml", kTable}, {"img/a.png", "GIF89a"}}, "img/a.png: not a PNG file"},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string name = "case" + std::to_string(n++);
    EXPECT_NE(errorOf({folder(name, c.files)}).find(c.message), std::string::npos)
        << name << ": " << errorOf({folder(name, c.files)});
  }
  EXPECT_EQ(errorOf({folder("good", {{"strings/default.xml", kTable}, {"dlg/a.xml", "<dialog/>"}, {"img/a.png", png}})}),
            "<no error>");
}

TEST_F(BundleBuilder, GeneratedSourceHoldsTheEncipheredRecords) {
  const fs::path ui = folder("ui", {{"strings/default.xml", kTable}, {"img/a.png", std::string("\x89PNG\r\n\x1a\nzz", 10)}});
  const bundle::CBundleSummary summary = bundle::buildBundle({ui}, root_ / "out.cpp");
  EXPECT_EQ(summary.files, 2u);
  EXPECT_EQ(summary.strings, 1u);
  EXPECT_EQ(summary.bytes, 2 * kBundleRecordHeader + kTable.size() + 10);

  std::ifstream in(root_ / "out.cpp");
  const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::size_t start = source.find("bundleBlock[");
  const std::size_t end = source.find("};", start);
  ASSERT_NE(start, std::string::npos);
  std::vector<std::uint8_t> block;
  const std::string body = source.substr(start, end - start);
  const std::regex hex("0x([0-9A-F]{2}),");
  for (auto it = std::sregex_iterator(body.begin(), body.end(), hex); it != std::sregex_iterator(); ++it) {
    block.push_back(static_cast<std::uint8_t>(std::stoi((*it)[1].str(), nullptr, 16)));
  }
  ASSERT_EQ(block.size(), summary.bytes);
  const std::vector<std::uint8_t> plain = bundle::packBundle(bundle::collectBundleFiles({ui}));
  EXPECT_NE(block, plain) << "the block is enciphered";
  CRc4(kBundleKey, sizeof kBundleKey).process(block.data(), block.size());
  EXPECT_EQ(block, plain);
  std::vector<std::string> names;
  std::vector<std::string> contents;
  walkBundleRecords(block.data(), block.size(), [&](const CBundleRecord& record) {
    names.emplace_back(record.name.begin(), record.name.end());
    contents.emplace_back(reinterpret_cast<const char*>(record.data), record.size);
  });
  EXPECT_EQ(names, (std::vector<std::string>{"img/a.png", "strings/default.xml"}));
  EXPECT_EQ(contents[1], kTable);
}

}  // namespace
