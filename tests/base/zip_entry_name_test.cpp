#include "base/zip_entry_name.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct CNameCase {
  const char* name;
  bool safe;
  const char* why;
};

const CNameCase kNameCases[] = {
    // placed inside the folder
    {"a/b.txt", true, "relative, forward slash"},
    {"a\\b.txt", true, "relative, backslash"},
    {"..a", true, "dots that start a name"},
    {"a..b", true, "dots inside a name"},
    {"a..", true, "dots that end a name with more after them"},
    {"name x86.dll", true, "blanks inside a name"},
    {"bin/name x64.dll", true, "marked name in a folder"},
    {"console.txt", true, "starts like a device but is none"},
    {"com10", true, "not a port number the system reserves"},
    {"\xe9t\xe9.txt", true, "8-bit letters"},
    // absolute
    {"/x", false, "starts with a slash"},
    {"\\x", false, "starts with a backslash"},
    {"\\\\server\\share\\x", false, "UNC-like"},
    {"//server/share/x", false, "UNC-like with slashes"},
    {"\\\\?\\C:\\x", false, "long-path prefix"},
    // drive letters and streams
    {"C:x", false, "drive-relative"},
    {"c:\\x", false, "drive letter with backslash"},
    {"c:/x", false, "drive letter with slash"},
    {"a.txt:stream", false, "alternate data stream"},
    // parent components, either separator
    {"..", false, "the parent alone"},
    {"a/../b", false, "parent component, slashes"},
    {"a\\..\\b", false, "parent component, backslashes"},
    {"..\\b", false, "leading parent, backslash"},
    {"../b", false, "leading parent, slash"},
    {"a\\..", false, "trailing parent"},
    {"a/..\\b", false, "parent between mixed separators"},
    {"a/.../b", false, "three dots, which the system folds"},
    {"a/.. /b", false, "dots and a blank, which the system folds"},
    {"./a", false, "a component of one dot"},
    // no file name
    {"", false, "empty name"},
    {"/", false, "only a separator"},
    {"\\/\\", false, "only separators"},
    {"a/", false, "a folder, not a file"},
    {"a//b", false, "an empty component"},
    {" ", false, "only a blank"},
    // devices
    {"CON", false, "console device"},
    {"bin/nul.txt", false, "null device with an extension"},
    {"aux .log", false, "device with blanks before the extension"},
    {"Com1", false, "serial port, mixed case"},
    {"lpt9.dll", false, "printer port"},
    {"COM\xb9", false, "serial port with superscript one (code page 1252)"},
    {"bin/com\xb2.txt", false, "serial port with superscript two"},
    {"LPT\xb3 .log", false, "printer port with superscript three"},
    {"LPT\xb3x", true, "superscript three inside a longer name"},
    {"COM\xbc", true, "a fraction is no port digit"},
    // characters Windows refuses in names
    {"a<b", false, "less-than"},
    {"a|b", false, "bar"},
    {"a?b", false, "wildcard"},
    {"a\tb", false, "control character"},
};

TEST(ZipEntryName, TableOfCases) {
  for (const CNameCase& c : kNameCases) {
    EXPECT_EQ(zip::isSafeEntryName(std::string_view(c.name)), c.safe) << '"' << c.name << "\": " << c.why;
    // The wide form (after the conversion of the stored name) follows the
    // same rules; the 8-bit letters widen as Latin-1 does.
    std::wstring wide;
    for (const char* p = c.name; *p; ++p) {
      wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*p)));
    }
    EXPECT_EQ(zip::isSafeEntryName(std::wstring_view(wide)), c.safe) << "wide \"" << c.name << "\": " << c.why;
  }
}

TEST(ZipEntryName, ZeroByteInsideANameIsRefused) {
  // A stored name may hold a zero byte; the system would cut the name there.
  EXPECT_FALSE(zip::isSafeEntryName(std::string_view("a\0/../../x", 10)));
  EXPECT_FALSE(zip::isSafeEntryName(std::wstring_view(L"a\0b", 3)));
}

TEST(ZipEntryName, WideCharactersAboveLatinAreOrdinaryLetters) {
  EXPECT_TRUE(zip::isSafeEntryName(std::wstring_view(L"\u65e5\u672c/\u30d5\u30a1\u30a4\u30eb.txt")));
  // A full-width solidus is no separator, and the full-width colon no drive.
  EXPECT_TRUE(zip::isSafeEntryName(std::wstring_view(L"a\uff0f..\uff0fb")));
}

// The installed path: the directory (trailing separators dropped), one "\\",
// then the name; a file's path has at most 259 characters, a folder's 247.
TEST(ZipEntryName, InstalledPathsStayWithinTheSystemLimit) {
  const std::wstring directory = L"C:\\Program Files\\Brantel";  // 24 characters
  const std::size_t room = zip::kMaxFilePathChars - directory.size() - 1;
  const std::size_t folderRoom = zip::kMaxFolderPathChars - directory.size() - 1;
  struct CCase {
    std::wstring name;
    bool fits;
    const char* why;
  };
  const CCase cases[] = {
      {std::wstring(room, L'f'), true, "a file that just fits"},
      {std::wstring(room + 1, L'f'), false, "one character too many"},
      {std::wstring(folderRoom, L'd') + L"\\x", true, "a folder that just fits"},
      {std::wstring(folderRoom + 1, L'd') + L"\\x", false, "a folder one character too long"},
      {L"a/" + std::wstring(folderRoom - 2, L'd') + L"/x", true, "nested folders that just fit"},
      {L"a/" + std::wstring(folderRoom - 1, L'd') + L"/x", false, "the inner folder too long"},
  };
  for (const CCase& c : cases) {
    EXPECT_EQ(zip::fitsPathLimit(directory, c.name), c.fits) << c.why;
    EXPECT_EQ(zip::fitsPathLimit(directory + L"\\/", c.name), c.fits) << c.why << ", trailing separators";
  }
}

}  // namespace
