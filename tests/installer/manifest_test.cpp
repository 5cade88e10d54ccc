// The installation manifest on a real file system: what is written, byte for
// byte and with which attributes, and what a previous manifest yields.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "base/utf8.h"
#include "base/scoped_handle.h"
#include "base/stream_out_mem.h"
#include "installer/manifest.h"
#include "xml/xml_writer.h"

namespace {

using Paths = std::vector<std::wstring>;

std::string readBytes(const std::wstring& path) {
  CScopedFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  std::string bytes;
  if (!file) {
    return bytes;
  }
  char piece[4096];
  DWORD got = 0;
  while (::ReadFile(file.get(), piece, sizeof(piece), &got, nullptr) && got > 0) {
    bytes.append(piece, got);
  }
  return bytes;
}

void writeBytes(const std::wstring& path, const std::string& bytes) {
  CScopedFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(file);
  DWORD written = 0;
  ASSERT_TRUE(::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

void removeTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  CScopedFind walk(::FindFirstFileW((folder + L"\\*").c_str(), &found));
  if (walk) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") {
        continue;
      }
      const std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        removeTree(path);
      } else {
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(path.c_str());
      }
    } while (::FindNextFileW(walk.get(), &found));
  }
  walk.reset();
  ::RemoveDirectoryW(folder.c_str());
}

// An installation directory of its own for every test.
class Manifest : public ::testing::Test {
protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ASSERT_NE(::GetTempPathW(MAX_PATH, temp), 0u);
    static int serial = 0;
    dir_ = std::wstring(temp) + L"brantel-manifest-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
           std::to_wstring(++serial);
    ASSERT_TRUE(::CreateDirectoryW(dir_.c_str(), nullptr));
    manifest_ = dir_ + L"\\installation info.xml";
  }
  void TearDown() override { removeTree(dir_); }

  std::wstring file(const std::wstring& name, const std::string& content = "x") {
    const std::wstring path = dir_ + L"\\" + name;
    writeBytes(path, content);
    return path;
  }
  std::wstring folder(const std::wstring& name) {
    const std::wstring path = dir_ + L"\\" + name;
    ::CreateDirectoryW(path.c_str(), nullptr);
    return path;
  }
  Paths readBack() {
    Paths previous;
    setup::ReadPreviousManifest(dir_, previous);
    return previous;
  }

  std::wstring dir_;
  std::wstring manifest_;
};

// What the XML writer makes of a manifest listing these paths.
std::string writersOutput(const Paths& listed) {
  const XmlDocumentPtr document = newAppInfoDocument();
  for (const std::wstring& path : listed) {
    const XmlNodePtr entry = newXmlElement(L"file");
    entry->attributes.set(L"n", path);
    CXmlNode::appendChild(documentElement(document), entry);
  }
  XStreamOutMem out;
  writeDocument(document, out);
  out.flush();
  return std::string(out.bytes().begin(), out.bytes().end());
}

TEST_F(Manifest, IsTheWritersOutputByteForByteHiddenAndArchiveAndListsItself) {
  const Paths placed = {dir_ + L"\\brantel.exe", dir_ + L"\\lib\\Tom & Jerry's.dll", dir_ + L"\\caf\u00e9 \u20ac.txt"};
  setup::WriteManifest(dir_, placed);

  const std::string written = readBytes(manifest_);
  const std::string d = toUtf8(dir_);
  EXPECT_EQ(written, "<?xml version=\"1.0\" encoding=\"UTF-8\" ?><appinfo>"
                     "<file n=\"" + d + "\\brantel.exe\"/>"
                     "<file n=\"" + d + "\\lib\\Tom &amp; Jerry&apos;s.dll\"/>"
                     "<file n=\"" + d + "\\caf\xC3\xA9 \xE2\x82\xAC.txt\"/>"
                     "<file n=\"" + d + "\\installation info.xml\"/></appinfo>");
  Paths withItself = placed;
  withItself.push_back(manifest_);
  EXPECT_EQ(written, writersOutput(withItself));

  const DWORD attributes = ::GetFileAttributesW(manifest_.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_ARCHIVE);
}

TEST_F(Manifest, AWrittenManifestReadsBackAsEveryPlacedFileAndItself) {
  // Enough entries that the writer flushes many times and the reader reads
  // many pieces.
  Paths placed;
  for (int i = 0; i < 300; ++i) {
    placed.push_back(file(L"f" + std::to_wstring(i) + (i % 7 == 0 ? L" & \u00e9'.dat" : L".dll")));
  }
  setup::WriteManifest(dir_, placed);

  Paths expected = placed;
  expected.push_back(manifest_);
  EXPECT_EQ(readBack(), expected);
}

TEST_F(Manifest, AnEarlierHiddenManifestIsReplacedWhole) {
  Paths many;
  for (int i = 0; i < 50; ++i) {
    many.push_back(dir_ + L"\\old" + std::to_wstring(i) + L".dll");
  }
  setup::WriteManifest(dir_, many);
  ASSERT_TRUE(::GetFileAttributesW(manifest_.c_str()) & FILE_ATTRIBUTE_HIDDEN);

  const Paths few = {dir_ + L"\\new.dll"};
  setup::WriteManifest(dir_, few);
  EXPECT_EQ(readBytes(manifest_), writersOutput({dir_ + L"\\new.dll", manifest_}));
}

TEST_F(Manifest, OnlyChildElementsNamedFileWithAnExistingFileCount) {
  const std::string a = toUtf8(file(L"a.dll"));
  const std::string b = toUtf8(file(L"b.dll"));
  const std::string sub = toUtf8(folder(L"sub"));
  const std::string missing = toUtf8(dir_ + L"\\gone.dll");

  struct CCase {
    const char* what;
    std::string xml;
    Paths expected;
  };
  const std::wstring wa = dir_ + L"\\a.dll";
  const std::wstring wb = dir_ + L"\\b.dll";
  const CCase cases[] = {
      {"another letter case of appinfo", "<AppInfo><file n=\"" + a + "\"/></AppInfo>", {}},
      {"a folder", "<appinfo><file n=\"" + sub + "\"/><file n=\"" + a + "\"/></appinfo>", {wa}},
      {"a file that no longer exists", "<appinfo><file n=\"" + missing + "\"/><file n=\"" + b + "\"/></appinfo>",
       {wb}},
      {"no n, another element, text and a comment between the entries",
       "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<appinfo>\r\n  <file name=\"" + a + "\"/>\r\n  <dir n=\"" + b +
           "\"/>words<!-- " + a + " --><File n=\"" + a + "\"/><file n=\"" + b + "\"><file n=\"" + a +
           "\"/></file>\r\n  <file n=\"" + a + "\"/></appinfo>",
       {wb, wa}},
      {"a damaged document", "<appinfo><file n=\"" + a + "\"/><file n=\"" + b + "\"", {}},
      {"no document element", "<?xml version=\"1.0\" ?>", {}},
      {"an empty file", "", {}},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.what);
    writeBytes(manifest_, c.xml);
    EXPECT_EQ(readBack(), c.expected);
  }
}

TEST_F(Manifest, ReadingAppendsAndAFailureKeepsWhatTheListHeld) {
  const Paths earlier = {L"C:\\kept.dll"};
  Paths list = earlier;
  setup::ReadPreviousManifest(dir_, list);  // no manifest at all
  EXPECT_EQ(list, earlier);

  setup::ReadPreviousManifest(dir_ + L"\\no such folder", list);
  EXPECT_EQ(list, earlier);

  const std::wstring a = file(L"a.dll");
  writeBytes(manifest_, "<appinfo><file n=\"" + toUtf8(a) + "\"/></appinfo>");
  setup::ReadPreviousManifest(dir_, list);
  EXPECT_EQ(list, (Paths{L"C:\\kept.dll", a}));
}

TEST_F(Manifest, AManifestHeldByAnotherProgramIsSharedOnlyAsItAllows) {
  const std::wstring a = file(L"a.dll");
  const std::string content = "<appinfo><file n=\"" + toUtf8(a) + "\"/></appinfo>";
  writeBytes(manifest_, content);
  {
    // Another reader or writer that shares: the manifest still reads.
    CScopedFile sharing(::CreateFileW(manifest_.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(sharing);
    EXPECT_EQ(readBack(), Paths{a});
  }
  {
    // One that shares nothing: nothing is read, nothing is written, no error.
    CScopedFile exclusive(
        ::CreateFileW(manifest_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(exclusive);
    EXPECT_EQ(readBack(), Paths{});
    setup::WriteManifest(dir_, {a});
  }
  EXPECT_EQ(readBytes(manifest_), content);
}

TEST_F(Manifest, AManifestThatCannotBeCreatedIsNoError) {
  const std::wstring nowhere = dir_ + L"\\no such folder";
  setup::WriteManifest(nowhere, {nowhere + L"\\a.dll"});
  EXPECT_EQ(::GetFileAttributesW(setup::manifestPath(nowhere).c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
