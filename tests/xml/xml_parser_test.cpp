// The parser's rules, oddities included: every row is an input document and
// the tree it must give ("error" for "XML parse error").
#include <gtest/gtest.h>

#include <string>

#include "app/exception.h"
#include "xml/xml_parser.h"
#include "xml_dump.h"
#include "xml_test_support.h"

namespace {

struct ParseCase {
  const char* what;
  std::string input;
  std::string tree;
};

const std::string kError = "error";

std::string parsedTree(const std::string& input) {
  try {
    return xml_dump::document(parseBytes(input));
  } catch (const XExceptionXml& e) {
    EXPECT_EQ(e.getText(), L"XML parse error");
    return kError;
  }
}

void expectTrees(const std::vector<ParseCase>& cases) {
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(std::string(c.what) + ": " + c.input);
    EXPECT_EQ(parsedTree(c.input), c.tree);
  }
}

TEST(XmlParser, ElementsAttributesAndText) {
  expectTrees({
      {"empty input", "", ""},
      {"blanks only", " \r\n\t ", ""},
      {"empty element", "<a/>", "a"},
      {"blanks inside tags", "<a / >", "a"},
      {"start and end tag", "<a></a>", "a"},
      {"nested", "<a><b><c/></b><d/></a>", "a[b[c],d]"},
      {"attributes in both quotes", "<a x=\"1\" y='2'/>", "a(x=1;y=2)"},
      {"attributes without blanks between", "<a x=\"1\"y=\"2\"/>", "a(x=1;y=2)"},
      {"a repeated attribute keeps the last value", "<a x=\"1\" x=\"2\"/>", "a(x=2)"},
      {"values hold markup and line ends", "<a v='say \"hi\" <b>\n'/>", "a(v=say \"hi\" <b>\\n)"},
      {"text kept exactly", "<a> x \r\n y </a>", "a[\" x \\r\\n y \"]"},
      {"text around children", "<a>x<b/>y</a>", "a[\"x\",b,\"y\"]"},
      {"name characters are not checked inside a name", "<a<b=c/>", "a<b=c"},
      {"control characters are name characters", "<a\x01 x\x02=\"1\"/>", "a\\u{1}(x\\u{2}=1)"},
      {"end tag may carry more before '>'", "<a></a junk='x'>", "a"},
      {"text between top-level elements", "<a/>text<b/>", kError},
      {"a name may not start with a digit", "<1a/>", kError},
      {"nor with a dot", "<.a/>", kError},
      {"nor with a dash", "<-a/>", kError},
      {"nor with punctuation", "<$a/>", kError},
      {"an attribute needs a value", "<a b/>", kError},
      {"a value needs quotes", "<a b=1/>", kError},
      {"an attribute needs '='", "<a b \"1\"/>", kError},
      {"a tag must close", "<a x=\"1\" ?>", kError},
      {"text before the first element", "x<a/>", kError},
  });
}

TEST(XmlParser, OdditiesThatAreReliedOn) {
  expectTrees({
      {"blanks before '=' belong to the name", "<a x = \"1\"/>", "a(x =1)"},
      {"entities are decoded in attribute values, once",
       "<a v=\"&lt;&gt;&amp;&apos;&quot;|&amp;lt;|&#65;|&x;|&\"/>", "a(v=<>&'\"|&lt;|&#65;|&x;|&)"},
      {"entities stay in text", "<a>&amp;&lt;</a>", "a[\"&amp;&lt;\"]"},
      {"comments and blank text go", "<a><!-- c --> <b/>\n</a>", "a[b]"},
      {"text touching a comment stays in pieces", "<a>x<!--c-->y</a>", "a[\"x\",\"y\"]"},
      {"end tag names are case-sensitive", "<a></A>", kError},
      {"end tag must match", "<a><b></a></b>", kError},
      {"CDATA is not understood", "<a><![CDATA[x]]></a>", kError},
      {"processing instructions only in the prolog", "<a><?pi?></a>", kError},
      {"several top-level elements", "<a/><b/>", "a | b"},
      {"Ctrl-Z ends the document", "<a/>\x1Agarbage<", "a"},
      {"Ctrl-Z in text is text", "<a>\x1A</a>", "a[\"\\u{1a}\"]"},
      {"Ctrl-Z before the first element is an error", "\x1A<a/>", kError},
      {"top-level comments go", "<!-- p --><a/><!-- e -->", "a"},
      {"a byte order mark is not white space", "\xEF\xBB\xBF<a/>", kError},
      {"input ending inside an element", "<a><b>", kError},
      {"input ending inside a value", "<a x=\"1", kError},
      {"input ending inside a comment", "<a><!-- x", kError},
      {"a refused byte after the document ends it quietly", "<a/>\xFF<b/>", "a"},
      {"a refused byte inside an element fails", "<a>\xF0\x9F\x98\x80</a>", kError},
  });
}

TEST(XmlParser, EightBitPrologAndUtf8Body) {
  expectTrees({
      {"the body is UTF-8", "<a t=\"\xC3\xA9\xE2\x82\xAC\"/>", "a(t=\\u{e9}\\u{20ac})"},
      // The first character of the first element is read before the switch.
      {"without a declaration the first name character is 8-bit", "<\xC3\xA9/>", kError},
      {"a declaration switches at once", "<?xml version=\"1.0\"?><\xC3\xA9/>", "\\u{e9}"},
      {"encoding utf8 in lower case", "<?xml version=\"1.0\" encoding=\"utf8\"?><a/>", "a"},
      {"encoding UTF-8", "<?xml version='1.0' encoding='UTF-8'?><a/>", "a"},
      {"another encoding", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a/>", kError},
      {"only name=value pairs in a processing instruction", "<?php echo 1 ?><a/>", kError},
      {"a processing instruction must end with ?>", "<?xml version=\"1.0\"><a/>", kError},
  });
}

TEST(XmlParser, PrologFieldsOfTheDocument) {
  XmlDocumentPtr plain = parseBytes("<!DOCTYPE  x \"\xC3\xA9\" [ <!ENTITY e \"[>]\"> ] ><a/>");
  EXPECT_EQ(plain->doctype, L"x \"\u00C3\u00A9\" [ <!ENTITY e \"[>]\"> ]");
  EXPECT_EQ(plain->encoding, L"");

  XmlDocumentPtr declared = parseBytes(
      "<?XML version=\"1.0\" ENCODING=\"utf-8\"?>\n<!-- c -->\n<!doctype t \"\xC3\xA9\">\n<!ELEMENT a ANY><a/>");
  EXPECT_EQ(declared->encoding, L"utf-8");
  EXPECT_EQ(declared->doctype, L"t \"\u00E9\"");
  EXPECT_EQ(xml_dump::document(declared), "a");

  // The last encoding wins; "encoding " with a blank is another name.
  XmlDocumentPtr twice = parseBytes("<?xml encoding=\"x\" encoding =\"y\" encoding=\"UTF8\"?><a/>");
  EXPECT_EQ(twice->encoding, L"UTF8");
}

TEST(XmlParser, NamespacePrefixesAreDocumentWide) {
  expectTrees({
      {"declared prefix", "<p:a xmlns:p=\"urn:p\"/>", "a{urn:p}(xmlns:p=urn:p)"},
      {"undeclared prefix", "<p:a/>", "p:a"},
      {"declared later in the document", "<r><p:a/><b xmlns:p=\"urn:late\"/></r>",
       "r[a{urn:late},b(xmlns:p=urn:late)]"},
      {"a later declaration replaces an earlier one", "<r xmlns:p=\"u1\"><p:a/><x xmlns:p=\"u2\"/></r>",
       "r(xmlns:p=u1)[a{u2},x(xmlns:p=u2)]"},
      {"the default namespace is not inherited", "<a xmlns=\"u\"><b/></a>", "a{u}(xmlns=u)[b]"},
      {"a prefixed name ignores its own default", "<q:a xmlns=\"u\"/>", "q:a(xmlns=u)"},
      {"a leading colon is no prefix", "<:a xmlns=\"u\"/>", ":a{u}(xmlns=u)"},
      {"attribute names are not resolved", "<a xmlns:p=\"u\" p:x=\"1\"/>", "a(p:x=1;xmlns:p=u)"},
  });
}

TEST(XmlParser, NestingFarBeyondRealMarkupFailsCleanly) {
  auto nested = [](unsigned depth) {
    std::string text;
    for (unsigned i = 0; i < depth; ++i) {
      text += "<e>";
    }
    for (unsigned i = 0; i < depth; ++i) {
      text += "</e>";
    }
    return text;
  };
  XmlDocumentPtr deepest = parseBytes(nested(kMaxXmlDepth));
  unsigned depth = 0;
  for (XmlNodePtr node = documentElement(deepest); node; node = node->firstChild()) {
    ++depth;
  }
  EXPECT_EQ(depth, kMaxXmlDepth);
  EXPECT_THROW(parseBytes(nested(kMaxXmlDepth + 1)), XExceptionXml);
  std::string unclosed;
  for (int i = 0; i < 200000; ++i) {
    unclosed += "<a x='1'>";
  }
  EXPECT_THROW(parseBytes(unclosed), XExceptionXml);
}

TEST(XmlDocument, QueriesAndBuilders) {
  XmlDocumentPtr document = parseBytes("<dialog src=\"x.xml\" empty=\"\"><div/></dialog><second/>");
  XmlNodePtr dialog = documentElement(document);
  ASSERT_TRUE(dialog);
  EXPECT_EQ(dialog->text, L"dialog");
  EXPECT_EQ(getAttribute(dialog, L"src"), std::optional<std::wstring>(L"x.xml"));
  EXPECT_EQ(getAttribute(dialog, L"empty"), std::optional<std::wstring>(L""));
  EXPECT_EQ(getAttribute(dialog, L"SRC"), std::nullopt);
  EXPECT_EQ(requireAttribute(dialog, L"src"), L"x.xml");
  try {
    requireAttribute(dialog, L"missing");
    FAIL() << "no exception";
  } catch (const XException& e) {  // an ordinary member of the family
    EXPECT_EQ(e.getText(), L"Required XML key or value not found");
  }
  EXPECT_THROW(getAttribute(XmlNodePtr(), L"src"), XExceptionPointer);
  EXPECT_FALSE(appInfoContent(document));

  EXPECT_FALSE(documentElement(parseBytes("")));

  XmlDocumentPtr manifest = newAppInfoDocument();
  EXPECT_EQ(xml_dump::document(manifest), "appinfo");
  EXPECT_FALSE(appInfoContent(manifest));
  XmlNodePtr files = newXmlElement(L"files");
  CXmlNode::appendChild(documentElement(manifest), files);
  CXmlNode::appendChild(documentElement(manifest), newXmlText(L"t"));
  EXPECT_EQ(appInfoContent(manifest), files);
  EXPECT_EQ(xml_dump::document(manifest), "appinfo[files,\"t\"]");

  EXPECT_TRUE(appInfoContent(parseBytes("<appinfo><x/></appinfo>")));
  EXPECT_FALSE(appInfoContent(parseBytes("<AppInfo><x/></AppInfo>")));
}

// A malformed document reaches every handler of the exception family.
TEST(XmlDocument, ParseErrorsAreOrdinaryMembersOfTheFamily) {
  for (const char* input : {"<a>", "<a></b>", "x"}) {
    try {
      parseBytes(input);
      ADD_FAILURE() << input;
    } catch (const XException& e) {
      EXPECT_EQ(e.getText(), L"XML parse error");
    }
  }
}

// A document lives while somebody holds any part of it that they need.
TEST(XmlDocument, NodesOutliveTheirDocumentWhenHeld) {
  XmlNodePtr kept;
  {
    XmlDocumentPtr document = parseBytes("<a><b x=\"1\"><c/></b></a>");
    kept = documentElement(document)->firstChild();
  }
  EXPECT_FALSE(kept->parent());
  EXPECT_EQ(xml_dump::node(*kept), "b(x=1)[c]");
}

}  // namespace
