#include "app/exception.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <memory>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include <algorithm>
#endif

namespace {

struct CTextCase {
  const char* name;
  std::function<std::wstring()> text;
  std::wstring expected;
};

template <class Exception>
std::function<std::wstring()> textOf(Exception exception) {
  return [exception] { return static_cast<const XException&>(exception).getText(); };
}

TEST(ExceptionText, EveryMember) {
  const CTextCase cases[] = {
      {"general", textOf(XExceptionGeneral(L"Disk full")), L"Disk full"},
      {"pointer", textOf(XExceptionPointer()), L"null pointer illegally passed as parameter"},
      {"resource", textOf(XExceptionResource(L"no bundle")), L"no bundle"},
      {"resource string", textOf(XExceptionResourceString(L"no string")), L"no string"},
      {"length", textOf(XExceptionLength(L"too long")), L"too long"},
      {"argument", textOf(XExceptionArgument(L"no name")), L"no name"},
      {"dialog", textOf(XExceptionDlg()), L"Dialog error"},
      {"xml", textOf(XExceptionXml()), L"XML parse error"},
      {"xml key", textOf(XExceptionXmlKeyNotFound()), L"Required XML key or value not found"},
      {"tree 0", textOf(XTreeException()), L"Tree node not found"},
      {"tree 1", textOf(XTreeException(1)), L"Error in tree structure"},
      {"thread 1", textOf(XExceptionThread(XExceptionThread::AlreadyRunning, 5)),
       L"Target thread is already running"},
      {"thread 2", textOf(XExceptionThread(XExceptionThread::NotRunning, 5)), L"Target thread isn't running"},
      {"thread 3", textOf(XExceptionThread(XExceptionThread::SystemFailure, 5)), systemErrorText(5)},
      {"thread 0", textOf(XExceptionThread(0, 5)), systemErrorText(5)},
      {"thread 7", textOf(XExceptionThread(7, 87)), systemErrorText(87)},
      {"file", textOf(XExceptionFile(3, L"C:\\x\\y.txt")), systemErrorText(3)},
      {"inet", textOf(XExceptionInet(12029)), systemErrorText(12029)},
      // Status codes of the table carry the prefix; every other one reads as
      // the system text of that number.
      {"http 100", textOf(XExceptionHttp(100)), L"HTTP request error: OK to continue with request"},
      {"http 206", textOf(XExceptionHttp(206)), L"HTTP request error: Partial GET furfilled"},
      {"http 307", textOf(XExceptionHttp(307)), L"HTTP request error: HTTP/1.1: keep same verb"},
      {"http 404", textOf(XExceptionHttp(404)), L"HTTP request error: Object not found"},
      {"http 449", textOf(XExceptionHttp(449)), L"HTTP request error: Retry after doing the appropriate action."},
      {"http 505", textOf(XExceptionHttp(505)), L"HTTP request error: HTTP version not supported"},
      {"http 306", textOf(XExceptionHttp(306)), systemErrorText(306)},
      {"http 418", textOf(XExceptionHttp(418)), systemErrorText(418)},
      {"http 0", textOf(XExceptionHttp(0)), systemErrorText(0)},
      {"http -1", textOf(XExceptionHttp(-1)), systemErrorText(0xFFFFFFFFu)},
  };
  for (const CTextCase& c : cases) {
    EXPECT_EQ(c.text(), c.expected) << c.name;
  }
}

TEST(ExceptionFamily, XmlFailuresAreCaughtAsXException) {
  // Deliberately ordinary members: a malformed document reaches the user.
  std::wstring caught;
  try {
    throw XExceptionXml();
  } catch (const XException& exception) {
    caught = exception.getText();
  }
  EXPECT_EQ(caught, L"XML parse error");

  caught.clear();
  try {
    throw XExceptionXmlKeyNotFound();
  } catch (const XException& exception) {
    caught = exception.getText();
  }
  EXPECT_EQ(caught, L"Required XML key or value not found");
}

TEST(ExceptionFamily, CopiesKeepTheirFields) {
  try {
    throw XExceptionFile(32, L"C:\\Program Files\\Brantel\\brantel.exe");
  } catch (const XException& exception) {
    const auto* file = dynamic_cast<const XExceptionFile*>(&exception);
    ASSERT_NE(file, nullptr);
    const XExceptionFile copy = *file;
    EXPECT_EQ(copy.errorCode(), 32u);
    EXPECT_EQ(copy.fileName(), L"C:\\Program Files\\Brantel\\brantel.exe");
    // The file name is kept for callers, never shown.
    EXPECT_EQ(copy.getText(), systemErrorText(32));
  }
  const XExceptionHttp status(503);
  const XExceptionHttp statusCopy = status;
  EXPECT_EQ(statusCopy.status(), 503);
}

void setLastSystemError(std::uint32_t code) {
#ifdef _WIN32
  ::SetLastError(code);
#else
  errno = static_cast<int>(code);
#endif
}

TEST(ExceptionFamily, CodeTakenAtConstruction) {
  setLastSystemError(5);
  const XExceptionFile file(L"locked.dat");
  setLastSystemError(2);
  const XExceptionInet inet;
  setLastSystemError(0);
  EXPECT_EQ(file.errorCode(), 5u);
  EXPECT_EQ(file.fileName(), L"locked.dat");
  EXPECT_EQ(inet.errorCode(), 2u);
  EXPECT_EQ(file.getText(), systemErrorText(5));
}

#ifndef _WIN32

TEST(SystemErrorText, HostKnowsNoMessages) {
  EXPECT_EQ(systemErrorText(2), L"System error 2");
  EXPECT_EQ(systemErrorText(0xFFFFFFFFu), L"System error 4294967295");
  EXPECT_EQ(XExceptionGeneral(101u).getText(), L"");
}

#else

// The raw message of one table, as FormatMessage gives it.
std::wstring rawMessage(DWORD source, HMODULE module, DWORD code) {
  wchar_t buffer[4096] = {};
  const DWORD length = ::FormatMessageW(source | FORMAT_MESSAGE_IGNORE_INSERTS, module, code,
                                        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer, 4096, nullptr);
  return std::wstring(buffer, length);
}

std::wstring onOneLine(std::wstring text) {
  text.erase(std::remove(text.begin(), text.end(), L'\r'), text.end());
  std::replace(text.begin(), text.end(), L'\n', L' ');
  return text;
}

TEST(SystemErrorText, SystemMessageOnOneLine) {
  const std::wstring raw = rawMessage(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(raw.empty()) << "the system has no text for ERROR_FILE_NOT_FOUND";
  ASSERT_GE(raw.size(), 2u);
  ASSERT_EQ(raw.substr(raw.size() - 2), L"\r\n");

  const std::wstring text = systemErrorText(ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(text, onOneLine(raw));
  EXPECT_EQ(text.find_first_of(L"\r\n"), std::wstring::npos);
  // The trailing carriage return and line feed became one trailing space.
  EXPECT_EQ(text.back(), L' ');
  EXPECT_NE(text[text.size() - 2], L' ');
  EXPECT_EQ(XExceptionFile(ERROR_FILE_NOT_FOUND, L"a.txt").getText(), text);
}

TEST(SystemErrorText, UnknownCode) {
  constexpr DWORD kUnknown = 0x2000FFFF;
  EXPECT_EQ(systemErrorText(kUnknown), L"System error 536936447");
  EXPECT_EQ(XExceptionInet(kUnknown).getText(), L"System error 536936447");
}

TEST(SystemErrorText, NetworkLibraryComesFromTheSystemFolder) {
  systemErrorText(0x2000FFFF);  // looks in the network library's table
  const HMODULE wininet = ::GetModuleHandleW(L"wininet.dll");
  ASSERT_NE(wininet, nullptr);
  wchar_t path[MAX_PATH] = {};
  ASSERT_GT(::GetModuleFileNameW(wininet, path, MAX_PATH), 0u);
  wchar_t system[MAX_PATH] = {};
  ASSERT_GT(::GetSystemDirectoryW(system, MAX_PATH), 0u);
  EXPECT_EQ(::CompareStringOrdinal(path, -1, (std::wstring(system) + L"\\wininet.dll").c_str(), -1, TRUE),
            CSTR_EQUAL)
      << testing::PrintToString(std::wstring(path));
}

TEST(SystemErrorText, NetworkCodesFromTheNetworkLibrary) {
  // The system's own table has no text for the network library's codes, so
  // these come from the second table.
  constexpr DWORD kNameNotResolved = 12007;  // ERROR_INTERNET_NAME_NOT_RESOLVED
  constexpr DWORD kCannotConnect = 12029;    // ERROR_INTERNET_CANNOT_CONNECT
  for (DWORD code : {kNameNotResolved, kCannotConnect}) {
    SCOPED_TRACE(code);
    ASSERT_EQ(rawMessage(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code), L"");
    const std::wstring text = XExceptionInet(code).getText();
    const HMODULE wininet = ::GetModuleHandleW(L"wininet.dll");
    ASSERT_NE(wininet, nullptr);
    const std::wstring raw = rawMessage(FORMAT_MESSAGE_FROM_HMODULE, wininet, code);
    ASSERT_FALSE(raw.empty()) << "the network library has no text for this code";
    EXPECT_EQ(text, onOneLine(raw));
    EXPECT_EQ(text.find_first_of(L"\r\n"), std::wstring::npos);
  }
}

TEST(ResourceText, LoadedFromTheOwnModule) {
  EXPECT_EQ(XExceptionGeneral(101u).getText(), L"Installation folder could not be created");
  EXPECT_EQ(XExceptionResource(102u).getText(), L"Second resource text");
  EXPECT_EQ(XExceptionGeneral(103u).getText(), L"");
  // Numbers beyond 16 bits name no string, not the one of their low half.
  EXPECT_EQ(XExceptionGeneral(0x10000u + 101u).getText(), L"");
}

#endif

}  // namespace
