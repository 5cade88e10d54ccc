// The writer's exact output, and round trips through parser and writer.
#include <gtest/gtest.h>

#include <string>

#include "app/exception.h"
#include "xml_dump.h"
#include "xml_test_support.h"

namespace {

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>";

TEST(XmlWriter, AnEmptyManifestIsTheDeclarationAndOneEmptyTag) {
  EXPECT_EQ(writeBytes(newAppInfoDocument()), kDeclaration + "<appinfo/>");
  EXPECT_EQ(kDeclaration.size(), 39u);
}

TEST(XmlWriter, ADocumentWithoutElementIsTheDeclarationAlone) {
  EXPECT_EQ(writeBytes(newXmlDocument()), kDeclaration);
}

TEST(XmlWriter, EscapesValuesAndTextButNotNames) {
  EXPECT_EQ(escapeText(L"a\"b&c'd<e>f\r\n\x01"), L"a&quot;b&amp;c&apos;d&lt;e&gt;f\r\n\x01");
  EXPECT_EQ(escapeText(L""), L"");

  XmlDocumentPtr document = newXmlDocument();
  XmlNodePtr element = newXmlElement(L"a<b");
  element->attributes.set(L"v", L"\"&<");
  CXmlNode::appendChild(element, newXmlText(L"&amp; \u00E9\u20AC"));
  CXmlNode::appendChild(document->documentNode, element);
  EXPECT_EQ(writeBytes(document), kDeclaration + "<a<b v=\"&quot;&amp;&lt;\">&amp;amp; \xC3\xA9\xE2\x82\xAC</a<b>");
}

TEST(XmlWriter, CommentsAreSkippedAndOnlyTheFirstElementIsWritten) {
  XmlDocumentPtr document = newXmlDocument();
  XmlNodePtr first = newXmlElement(L"first");
  CXmlNode::appendChild(first, makeRef<CXmlNode>(CXmlNodeBase::Comment, L"note"));
  CXmlNode::appendChild(document->documentNode, first);
  CXmlNode::appendChild(document->documentNode, newXmlElement(L"second"));
  EXPECT_EQ(writeBytes(document), kDeclaration + "<first/>");

  CXmlNode::appendChild(first, newXmlText(L"t"));
  EXPECT_EQ(writeBytes(document), kDeclaration + "<first>t</first>");
}

TEST(XmlWriter, TheNamespaceComesBeforeTheAttributes) {
  XmlDocumentPtr document = parseBytes("<p:a xmlns:p=\"urn:p\"><b xmlns=\"urn:b\"/></p:a>");
  EXPECT_EQ(writeBytes(document), kDeclaration + "<a xmlns=\"urn:p\" xmlns:p=\"urn:p\"><b xmlns=\"urn:b\" xmlns=\"urn:b\"/></a>");
}

// The attributes come out in the hash map's order, not in the source's:
// lid (bucket 2), then class and name (both bucket 10, class set later), width
// (23), caption (24), id (30).  Text is escaped again, as the parser left it.
TEST(XmlWriter, RoundTripShowsTheHashMapsAttributeOrder) {
  const std::string source =
      "<?xml version=\"1.0\"?>\n"
      "<dialog width=\"10em\" lid=\"page\" caption=\"Hello &amp; welcome\" id=\"7\" name=\"x\" class=\"c\">\n"
      "  <div margin=\"1em\" padding=\"2px\">Text &amp; more</div>\n"
      "  <!-- a note -->\n"
      "  <button type='ok'/>\n"
      "</dialog>\n";
  const std::string written = writeBytes(parseBytes(source));
  EXPECT_EQ(written, kDeclaration +
                         "<dialog lid=\"page\" class=\"c\" name=\"x\" width=\"10em\" caption=\"Hello &amp; welcome\" "
                         "id=\"7\"><div padding=\"2px\" margin=\"1em\">Text &amp;amp; more</div>"
                         "<button type=\"ok\"/></dialog>");

  // Written again, only the text grows: attribute values come back as they were.
  const std::string again = writeBytes(parseBytes(written));
  EXPECT_EQ(again.find("Text &amp;amp;amp; more"), written.find("Text &amp;amp; more"));
  EXPECT_NE(again.find("caption=\"Hello &amp; welcome\""), std::string::npos);
}

TEST(XmlWriter, CharactersBeyondTheBasicPlaneAreWrittenAsFourBytes) {
  XmlDocumentPtr document = newAppInfoDocument();
  std::wstring name = L"file";
  name += static_cast<wchar_t>(0xD83D);
  name += static_cast<wchar_t>(0xDE00);
  documentElement(document)->attributes.set(L"name", name);
  EXPECT_EQ(writeBytes(document), kDeclaration + "<appinfo name=\"file\xF0\x9F\x98\x80\"/>");
}

class CRefusingSink : public XStreamOut {
public:
  bool write(const std::uint8_t*, std::size_t) override { return false; }
};

TEST(XmlWriter, ARefusingSinkStopsTheWriter) {
  XmlDocumentPtr document = newAppInfoDocument();
  documentElement(document)->attributes.set(L"big", std::wstring(2000, L'x'));
  CRefusingSink sink;
  EXPECT_THROW(writeDocument(document, sink), XStreamOut::ERR);
}

}  // namespace
