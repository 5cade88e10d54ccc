// The one failure-reporting channel of the setup.
//
// Every failure is thrown by value as a member of the XException family and
// caught by reference; whoever started the operation asks it for its text and
// shows it (interface thread) or posts it to its window (worker thread).
//
// This header is the one piece of the application layer that every other layer
// may include: it touches no Win32 API, so it builds in the host tree as well.
#pragma once

#include <cstdint>
#include <string>

class XException {
public:
  virtual ~XException() = default;
  // A new text, readable by the user.
  virtual std::wstring getText() const = 0;
};

class XExceptionGeneral : public XException {
public:
  explicit XExceptionGeneral(std::wstring text) : text_(std::move(text)) {}
  // A string-resource number of the own module (below 0x10000) whose string
  // becomes the text; the string is loaded at construction.
  explicit XExceptionGeneral(unsigned resourceId);
  std::wstring getText() const override { return text_; }

private:
  std::wstring text_;
};

class XExceptionPointer : public XExceptionGeneral {
public:
  XExceptionPointer() : XExceptionGeneral(L"null pointer illegally passed as parameter") {}
};

class XExceptionResource : public XExceptionGeneral {
public:
  using XExceptionGeneral::XExceptionGeneral;
};

class XExceptionResourceString : public XExceptionGeneral {
public:
  using XExceptionGeneral::XExceptionGeneral;
};

// A size beyond what an operation can take: a text too long to convert, a
// picture too large to hold.
class XExceptionLength : public XExceptionGeneral {
public:
  using XExceptionGeneral::XExceptionGeneral;
};

// A value that an operation refuses; the text says what is wrong with it.
class XExceptionArgument : public XExceptionGeneral {
public:
  using XExceptionGeneral::XExceptionGeneral;
};

// A file operation failed; the text is the system's text for the error code
// taken at construction.  The file name is kept for callers, not shown.
class XExceptionFile : public XException {
public:
  explicit XExceptionFile(std::wstring fileName = {});
  XExceptionFile(std::uint32_t errorCode, std::wstring fileName);
  std::wstring getText() const override;
  std::uint32_t errorCode() const { return errorCode_; }
  const std::wstring& fileName() const { return fileName_; }

private:
  std::uint32_t errorCode_;
  std::wstring fileName_;
};

// A network call failed; the error code is taken at construction.
class XExceptionInet : public XException {
public:
  XExceptionInet();
  explicit XExceptionInet(std::uint32_t errorCode) : errorCode_(errorCode) {}
  std::wstring getText() const override;
  std::uint32_t errorCode() const { return errorCode_; }

private:
  std::uint32_t errorCode_;
};

// The server answered with a status other than success (-1: none could be read).
class XExceptionHttp : public XException {
public:
  explicit XExceptionHttp(std::int32_t status) : status_(status) {}
  std::wstring getText() const override;
  std::int32_t status() const { return status_; }

private:
  std::int32_t status_;
};

// A worker thread could not be started or reached.  The reasons without a
// text of their own (SystemFailure, and any number the enumeration lacks) are
// described by the system's text for the error code.
class XExceptionThread : public XException {
public:
  enum Reason : std::uint32_t { AlreadyRunning = 1, NotRunning = 2, SystemFailure = 3 };
  explicit XExceptionThread(std::uint32_t reason, std::uint32_t errorCode = 0)
      : reason_(reason), errorCode_(errorCode) {}
  std::wstring getText() const override;
  std::uint32_t reason() const { return reason_; }
  std::uint32_t errorCode() const { return errorCode_; }

private:
  std::uint32_t reason_;
  std::uint32_t errorCode_;
};

class XExceptionDlg : public XException {
public:
  std::wstring getText() const override { return L"Dialog error"; }
};

// The XML failures are ordinary members of the family: a malformed document
// must reach the user as "XML parse error" rather than end a worker silently.
class XExceptionXml : public XException {
public:
  std::wstring getText() const override { return L"XML parse error"; }
};

class XExceptionXmlKeyNotFound : public XException {
public:
  std::wstring getText() const override { return L"Required XML key or value not found"; }
};

class XTreeException : public XException {
public:
  XTreeException() = default;
  explicit XTreeException(int kind) : kind_(kind) {}
  std::wstring getText() const override {
    return kind_ == 0 ? L"Tree node not found" : L"Error in tree structure";
  }
  int kind() const { return kind_; }

private:
  int kind_ = 0;
};

// Not a member of the family: thrown inside a worker only to unwind it.
struct XExceptionThreadTerminated {};

// The system's text for an error code: the system message table, then that of
// wininet.dll, then "System error %u"; carriage returns dropped, line feeds
// made blanks.  In the host tree only the last rule applies.
std::wstring systemErrorText(std::uint32_t code);
