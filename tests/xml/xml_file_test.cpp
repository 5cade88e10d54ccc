// Documents read from files, as the installation manifest is.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/exception.h"
#include "base/scoped_handle.h"
#include "base/stream_in_file.h"
#include "xml/xml_parser.h"

namespace {

std::wstring writeTempFile(const std::string& bytes) {
  wchar_t folder[MAX_PATH];
  wchar_t path[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  ::GetTempFileNameW(folder, L"xml", 0, path);
  CScopedFile file(::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  return path;
}

TEST(XmlFile, AManifestLargerThanOnePieceParsesFromAFile) {
  std::string bytes = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?><appinfo><files>";
  for (int i = 0; i < 200; ++i) {
    bytes += "<file name=\"bin\\\\f" + std::to_string(i) + ".dll\" size=\"" + std::to_string(i * 1000) + "\"/>";
  }
  bytes += "</files></appinfo>";
  const std::wstring path = writeTempFile(bytes);
  {
    XStreamInFile in(path);
    XmlDocumentPtr document = parseDocument(in);
    XmlNodePtr files = documentElement(document)->firstChild();
    int count = 0;
    for (XmlNodePtr file = files->firstChild(); file; file = file->nextSibling()) {
      EXPECT_EQ(requireAttribute(file, L"size"), std::to_wstring(count * 1000));
      ++count;
    }
    EXPECT_EQ(count, 200);
  }
  EXPECT_TRUE(::DeleteFileW(path.c_str()));  // the stream closed its handle
}

TEST(XmlFile, ATruncatedFileIsAParseError) {
  const std::wstring path = writeTempFile("<appinfo><files><file name=\"a\"/>");
  {
    XStreamInFile in(path);
    EXPECT_THROW(parseDocument(in), XExceptionXml);
  }
  ::DeleteFileW(path.c_str());
}

}  // namespace
