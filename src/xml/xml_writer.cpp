#include "xml/xml_writer.h"

namespace {

constexpr std::wstring_view kDeclaration = L"<?xml version=\"1.0\" encoding=\"UTF-8\" ?>";

std::wstring_view entityFor(wchar_t c) {
  switch (c) {
    case L'"':
      return L"&quot;";
    case L'&':
      return L"&amp;";
    case L'\'':
      return L"&apos;";
    case L'<':
      return L"&lt;";
    case L'>':
      return L"&gt;";
    default:
      return {};
  }
}

// Calls emit with the runs of unchanged characters and the entities between
// them, in order.
template <class Emit>
void forEachEscapedPiece(std::wstring_view text, Emit emit) {
  std::size_t runStart = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::wstring_view entity = entityFor(text[i]);
    if (entity.empty()) {
      continue;
    }
    emit(text.substr(runStart, i - runStart));
    emit(entity);
    runStart = i + 1;
  }
  emit(text.substr(runStart));
}

class CXmlWriter {
public:
  explicit CXmlWriter(XStreamOut& out) : out_(out) {}

  void writeElement(const CXmlNode& element) {
    if (!element.isElement()) {
      return;
    }
    put(L"<");
    put(element.text);
    // The namespace is escaped like any value: one taken from an xmlns
    // attribute may hold a quote, and unescaped it would end the value early.
    if (!element.namespaceUri.empty()) {
      put(L" xmlns=\"");
      putEscaped(element.namespaceUri);
      put(L"\"");
    }
    for (const auto& [name, value] : element.attributes) {
      put(L" ");
      put(name);
      put(L"=\"");
      putEscaped(value);
      put(L"\"");
    }
    bool wroteChild = false;
    for (const CXmlNode* child = element.firstChildNode(); child; child = child->nextSiblingNode()) {
      if (child->isComment()) {
        continue;
      }
      if (!wroteChild) {
        put(L">");
        wroteChild = true;
      }
      if (child->isElement()) {
        writeElement(*child);
      } else {
        putEscaped(child->text);
      }
    }
    if (wroteChild) {
      put(L"</");
      put(element.text);
      put(L">");
    } else {
      put(L"/>");
    }
  }

  void put(std::wstring_view text) { out_.putText(text); }
  void putEscaped(std::wstring_view text) {
    forEachEscapedPiece(text, [this](std::wstring_view piece) { put(piece); });
  }

private:
  XStreamOut& out_;
};

}  // namespace

void writeDocument(const XmlDocumentPtr& document, XStreamOut& stream) {
  const XmlNodePtr element = documentElement(document);
  stream.setTextMode(true);
  CXmlWriter writer(stream);
  writer.put(kDeclaration);
  if (element) {
    writer.writeElement(*element);
  }
}

std::wstring escapeText(std::wstring_view text) {
  std::wstring escaped;
  escaped.reserve(text.size());
  forEachEscapedPiece(text, [&](std::wstring_view piece) { escaped += piece; });
  return escaped;
}
