#include "base/known_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring windowsFolder(UINT (*query)(LPWSTR, UINT)) {
  wchar_t buffer[MAX_PATH] = {};
  const UINT length = query(buffer, MAX_PATH);
  return std::wstring(buffer, length);
}

UINT systemDirectory(LPWSTR buffer, UINT size) { return ::GetSystemDirectoryW(buffer, size); }
UINT windowsDirectory(LPWSTR buffer, UINT size) { return ::GetWindowsDirectoryW(buffer, size); }

TEST(KnownFolderPath, AgreesWithTheSystemsOtherAnswers) {
  EXPECT_EQ(knownFolderPath(FOLDERID_Windows), windowsFolder(windowsDirectory));
  EXPECT_EQ(knownFolderPath(FOLDERID_System), windowsFolder(systemDirectory));
}

TEST(KnownFolderPath, ProgramFilesExists) {
  const std::wstring path = knownFolderPath(FOLDERID_ProgramFiles);
  ASSERT_FALSE(path.empty());
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(KnownFolderPath, UnknownFolderIsEmpty) {
  const KNOWNFOLDERID unknown = {0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};
  EXPECT_EQ(knownFolderPath(unknown), L"");
}

}  // namespace
