#include "xml/xml_parser.h"

#include <string>
#include <string_view>

#include "app/exception.h"
#include "base/text.h"
#include "xml/xml_passes.h"

namespace {

constexpr char16_t kEndOfFile = 26;  // Ctrl-Z

bool isAsciiLetterOrDigit(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

// Everything is a name character except the printable ASCII punctuation other
// than '-', '.', ':' and '_'; white space and control characters count too.
bool isNameChar(char16_t c) {
  if (c < 33 || c > 126 || isAsciiLetterOrDigit(c)) {
    return true;
  }
  return c == u'-' || c == u'.' || c == u':' || c == u'_';
}

bool canStartName(char16_t c) { return isNameChar(c) && c != u'-' && c != u'.' && !(c >= u'0' && c <= u'9'); }

bool endsTagName(char16_t c) { return XStreamIn::isBlank(c) || c == u'/' || c == u'>' || c == u'?'; }

// The five predefined entities, in one left-to-right pass: what decoding
// produces is not decoded again, and any other '&' stays as it is.
std::wstring decodeEntities(std::wstring raw) {
  if (raw.find(L'&') == std::wstring::npos) {
    return raw;
  }
  struct Entity {
    std::wstring_view name;
    wchar_t character;
  };
  static constexpr Entity kEntities[] = {
      {L"&lt;", L'<'}, {L"&gt;", L'>'}, {L"&amp;", L'&'}, {L"&apos;", L'\''}, {L"&quot;", L'"'}};
  const std::wstring_view text(raw);
  std::wstring decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const Entity* match = nullptr;
    if (text[i] == L'&') {
      for (const Entity& entity : kEntities) {
        if (text.substr(i).starts_with(entity.name)) {
          match = &entity;
          break;
        }
      }
    }
    if (match) {
      decoded += match->character;
      i += match->name.size();
    } else {
      decoded += text[i++];
    }
  }
  return decoded;
}

// What the reader met on its way, so that the clean-up passes that cannot
// change anything are left out.
struct CXmlReaderFindings {
  bool prefixDeclaration = false;  // an xmlns:... attribute
  bool namespaceCandidate = false;  // an xmlns attribute or a prefixed element name
  bool comment = false;
  bool blankText = false;
};

class CXmlReader {
public:
  CXmlReader(XStreamIn& in, CXmlRootBase& document) : in_(in), document_(document) {}

  const CXmlReaderFindings& findings() const noexcept { return findings_; }

  void read() {
    if (readProlog()) {
      readBody();
    }
  }

private:
  // Declarations, processing instructions and comments before the first
  // element, read as 8-bit text.  False when the input ends first.
  bool readProlog() {
    for (;;) {
      char16_t c;
      if (!in_.nextCharOrEnd(c)) {
        return false;
      }
      if (XStreamIn::isBlank(c)) {
        continue;
      }
      if (c != u'<') {
        throw XExceptionXml();
      }
      const char16_t next = in_.nextChar();
      if (next == u'?') {
        readProcessingInstruction();
      } else if (next == u'!' && in_.atDoubleDash()) {
        skipComment();
      } else if (next == u'!') {
        readDeclaration();
      } else {
        in_.pushBack(2);
        in_.setDecoder(XStreamIn::Decoding::Utf8);
        return true;
      }
    }
  }

  // Only name="value" pairs may follow the target; the XML declaration's
  // encoding must be UTF-8, and from here on the input is read as UTF-8.
  void readProcessingInstruction() {
    const bool isDeclaration = equalsIgnoringCase(readTagName({}), L"xml");
    std::wstring name;
    std::wstring value;
    while (readAttribute(name, value)) {
      if (isDeclaration && equalsIgnoringCase(name, L"encoding")) {
        document_.encoding = value;
      }
    }
    if (in_.nextChar() != u'?' || in_.nextChar() != u'>') {
      throw XExceptionXml();
    }
    const std::wstring& encoding = document_.encoding;
    if (!encoding.empty() && !equalsIgnoringCase(encoding, L"UTF-8") && !equalsIgnoringCase(encoding, L"UTF8")) {
      throw XExceptionXml();
    }
    in_.setDecoder(XStreamIn::Decoding::Utf8);
  }

  // Everything up to the "-->" after the opening dashes, which are read.
  // Returns what came before the closing dashes.
  std::wstring readCommentText(char16_t first) {
    std::wstring text;
    unsigned dashes = 0;
    for (char16_t c = first;; c = in_.nextChar()) {
      if (c == u'>' && dashes >= 2) {
        text.resize(text.size() - 2);
        return text;
      }
      dashes = c == u'-' ? dashes + 1 : 0;
      text += c;
    }
  }

  void skipComment() { readCommentText(in_.nextChar()); }

  // <!KEYWORD ...>: the text up to the first '>' outside square brackets.
  // Only DOCTYPE is kept.
  void readDeclaration() {
    const std::wstring keyword = readTagName({});
    std::wstring body;
    unsigned brackets = 0;
    for (char16_t c = in_.nextNonBlank(); c != u'>' || brackets > 0; c = in_.nextChar()) {
      if (c == u'[') {
        ++brackets;
      } else if (c == u']' && brackets > 0) {
        --brackets;
      }
      body += c;
    }
    if (equalsIgnoringCase(keyword, L"DOCTYPE")) {
      document_.doctype = std::wstring(trimmed(body));
    }
  }

  // Top-level elements until the end of the input or a Ctrl-Z.
  void readBody() {
    for (;;) {
      char16_t c;
      if (!in_.nextCharOrEnd(c) || c == kEndOfFile) {
        return;
      }
      if (XStreamIn::isBlank(c)) {
        continue;
      }
      if (c != u'<') {
        throw XExceptionXml();
      }
      in_.pushBack(1);
      CXmlNode::appendChild(document_.documentNode, readElement(1));
    }
  }

  // An element with its content, or a comment.
  XmlNodePtr readElement(unsigned depth) {
    if (depth > kMaxXmlDepth) {
      throw XExceptionXml();
    }
    if (in_.nextNonBlank() != u'<') {
      throw XExceptionXml();
    }
    const char16_t first = in_.nextChar();
    if (first == u'!') {
      if (!in_.atDoubleDash()) {
        throw XExceptionXml();
      }
      findings_.comment = true;
      return makeRef<CXmlNode>(CXmlNodeBase::Comment, readCommentText(in_.nextNonBlank()));
    }
    if (!canStartName(first)) {
      throw XExceptionXml();
    }
    XmlNodePtr element = newXmlElement(readTagName(std::wstring(1, first)));
    if (element->text.find(L':', 1) != std::wstring::npos) {
      findings_.namespaceCandidate = true;
    }
    std::wstring name;
    std::wstring value;
    while (readAttribute(name, value)) {
      noteAttribute(name);
      element->attributes.set(name, std::move(value));
    }
    const char16_t close = in_.nextNonBlank();
    if (close == u'/') {
      if (in_.nextNonBlank() != u'>') {
        throw XExceptionXml();
      }
      return element;
    }
    if (close != u'>') {
      throw XExceptionXml();
    }
    readContent(element, depth);
    return element;
  }

  // Children and text up to the end tag, which must repeat the name exactly.
  void readContent(const XmlNodePtr& element, unsigned depth) {
    for (;;) {
      char16_t c = in_.nextChar();
      if (c != u'<') {
        XmlNodePtr text = newXmlText(readText(c));
        findings_.blankText = findings_.blankText || isAllBlank(text->text);
        CXmlNode::appendChild(element, text);
        continue;
      }
      if (in_.nextChar() == u'/') {
        readEndTag(element->text);
        return;
      }
      in_.pushBack(2);
      CXmlNode::appendChild(element, readElement(depth + 1));
    }
  }

  // Character data exactly as written, up to the next '<'.
  std::wstring readText(char16_t first) {
    std::wstring text(1, first);
    for (char16_t c = in_.nextChar(); c != u'<'; c = in_.nextChar()) {
      text += c;
    }
    in_.pushBack(1);
    return text;
  }

  void readEndTag(const std::wstring& name) {
    if (readTagName({}) != name) {
      throw XExceptionXml();
    }
    while (in_.nextChar() != u'>') {
    }
  }

  // The name continues up to white space, '/', '>' or '?', which is left to
  // be read again.
  std::wstring readTagName(std::wstring name) {
    for (char16_t c = in_.nextChar();; c = in_.nextChar()) {
      if (endsTagName(c)) {
        in_.pushBack(1);
        return name;
      }
      name += c;
    }
  }

  // name="value" or name='value'; false (reading nothing) when no name
  // follows.  White space is a name character, so blanks before '=' end up in
  // the name.
  bool readAttribute(std::wstring& name, std::wstring& value) {
    char16_t c = in_.nextNonBlank();
    if (!canStartName(c)) {
      in_.pushBack(1);
      return false;
    }
    name.assign(1, c);
    for (c = in_.nextChar(); isNameChar(c); c = in_.nextChar()) {
      name += c;
    }
    in_.pushBack(1);
    if (in_.nextNonBlank() != u'=') {
      throw XExceptionXml();
    }
    const char16_t quote = in_.nextNonBlank();
    if (quote != u'"' && quote != u'\'') {
      throw XExceptionXml();
    }
    std::wstring raw;
    for (c = in_.nextChar(); c != quote; c = in_.nextChar()) {
      raw += c;
    }
    value = decodeEntities(std::move(raw));
    return true;
  }

  void noteAttribute(std::wstring_view name) {
    if (name.starts_with(L"xmlns:")) {
      findings_.prefixDeclaration = true;
    } else if (name == L"xmlns") {
      findings_.namespaceCandidate = true;
    }
  }

  XStreamIn& in_;
  CXmlRootBase& document_;
  CXmlReaderFindings findings_;
};

}  // namespace

XmlDocumentPtr parseDocument(XStreamIn& stream) {
  XmlDocumentPtr document = newXmlDocument();
  CXmlReader reader(stream, *document);
  try {
    reader.read();
  } catch (const XStreamIn::EOS&) {
    // A document that ends inside an element is malformed like any other.
    throw XExceptionXml();
  }
  // The passes in their order; one that has nothing to work on is left out.
  const CXmlReaderFindings& found = reader.findings();
  if (found.prefixDeclaration) {
    xml_passes::collectNamespaces(*document);
  }
  if (found.namespaceCandidate) {
    xml_passes::resolveNamespaces(*document);
  }
  if (found.comment) {
    xml_passes::removeComments(*document);
  }
  if (found.blankText) {
    xml_passes::removeBlankText(*document);
  }
  return document;
}
