// Preparing markup into a dialog tree: every row is a markup document and the
// tree it must give (see dialog_dump.h for the picture).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/exception.h"
#include "dialog/markup_base.h"
#include "dialog_test_support.h"
#include "markup_bundle.h"

namespace {

struct PrepareCase {
  const char* what;
  std::string markup;
  std::string tree;
};

void expectTrees(const std::vector<PrepareCase>& cases) {
  for (const PrepareCase& c : cases) {
    SCOPED_TRACE(std::string(c.what) + ": " + c.markup);
    EXPECT_EQ(preparedTree(c.markup), c.tree);
  }
}

std::string exceptionText(const XException& e) { return xml_dump::visible(e.getText()); }

TEST(DialogPrepare, CaseFolding) {
  expectTrees({
      {"names and values fold, text and title keep their case",
       "<dialog><DIV HREF=\"HTTP://Example.COM/A\" Title=\"Keep Me\">Text Stays</DIV></dialog>",
       "dialog:block[div:block(href=http://example.com/a;title=Keep Me)[\"Text Stays\"]]"},
      {"a title written in capitals is still the title", "<dialog><b TITLE=\"Tip\" ID=\"Big\"/></dialog>",
       "dialog:block[b(id=big;title=Tip)]"},
      {"blanks around '=' are trimmed from the name", "<dialog><a x = \"V\"\n\tY\t=\"W\"/></dialog>",
       "dialog:block[a(x=v;y=w)]"},
      {"letters outside ASCII keep their case", "<dialog><a v=\"\xc3\x84\xc3\xa4Z\"/></dialog>",
       "dialog:block[a(v=\\u{c4}\\u{e4}z)]"},
      {"the caption element's text keeps its case", "<dialog><Caption>Big Title</Caption></dialog>",
       "dialog:block[caption[\"Big Title\"]]"},
      {"display is read after folding", "<dialog><span display=\"BLOCK\"/><div display=\"None\"/></dialog>",
       "dialog:block[span:block(display=block),div:none(display=none)]"},
  });
}

TEST(DialogPrepare, NodesKeepKindAndNamespace) {
  const DialogModel model = preparedModel("<dialog xmlns:p=\"urn:Fields\"><p:Field>Value</p:Field></dialog>");
  const CDialogTreeNode* field = model.root->firstChildNode();
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->kind, CDialogNode::Element);
  EXPECT_EQ(field->name, L"field");
  EXPECT_EQ(field->namespaceUri, L"urn:Fields");
  const CDialogTreeNode* text = field->firstChildNode();
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->kind, CDialogNode::Text);
  EXPECT_EQ(text->name, L"Value");
  EXPECT_EQ(text->parentNode(), field);
  EXPECT_EQ(model.root->margin, CBoxRect{});  // spacing comes with the box model
  EXPECT_EQ(model.fontSize, kDefaultPointSize);
  EXPECT_EQ(model.nextControlId, kFirstControlId);
  EXPECT_EQ(model.em(), kDefaultEm);
}

TEST(DialogPrepare, Classes) {
  expectTrees({
      {"the element's own attributes win",
       "<dialog><class name=\"big\" width=\"9em\" font-size=\"large\"/><button class=\"big\" width=\"2em\"/></dialog>",
       "dialog:block[button(class=big;font-size=large;width=2em)]"},
      {"a later definition of the same name wins for the elements after it",
       "<dialog><class name=\"c\" align=\"left\"/><static class=\"c\"/>"
       "<class name=\"c\" align=\"right\" strong=\"1\"/><static class=\"c\"/></dialog>",
       "dialog:block[static(align=left;class=c),static(align=right;class=c;strong=1)]"},
      {"a class is not seen before its definition", "<dialog><text class=\"c\"/><class name=\"c\" x=\"1\"/></dialog>",
       "dialog:block[text(class=c)]"},
      {"a class is seen by the descendants of its following siblings",
       "<dialog><class name=\"c\" x=\"1\"/><div><div><b class=\"c\"/></div></div></dialog>",
       "dialog:block[div:block[div:block[b(class=c;x=1)]]]"},
      {"a class defined inside an element is gone after it",
       "<dialog><div><class name=\"c\" x=\"1\"/><a class=\"c\"/></div><a class=\"c\"/></dialog>",
       "dialog:block[div:block[a(class=c;x=1)],a(class=c)]"},
      {"class names are compared exactly, before folding",
       "<dialog><class name=\"Big\" x=\"1\"/><a class=\"big\"/><a class=\"Big\"/></dialog>",
       "dialog:block[a(class=big),a(class=big;x=1)]"},
      {"one name per element", "<dialog><class name=\"a\" x=\"1\"/><class name=\"b\" y=\"1\"/><i class=\"a b\"/></dialog>",
       "dialog:block[i(class=a b)]"},
      {"a class element in capitals is no class",
       "<dialog><Class name=\"c\" x=\"1\"/><a class=\"c\"/></dialog>", "dialog:block[class(name=c;x=1),a(class=c)]"},
      {"a class without a name is removed and gives nothing", "<dialog><class x=\"1\"/><a/></dialog>",
       "dialog:block[a]"},
      {"the class's name is not handed on, its content is dropped",
       "<dialog><class name=\"c\" id=\"x\"><b>text</b></class><button class=\"c\" name=\"ok\"/></dialog>",
       "dialog:block[button(class=c;id=x;name=ok)]"},
      {"display and width from a class take effect",
       "<dialog><class name=\"row\" display=\"block\"/><span class=\"row\"/></dialog>",
       "dialog:block[span:block(class=row;display=block)]"},
      {"the root receives nothing", "<dialog class=\"c\"><class name=\"c\" x=\"1\"/></dialog>",
       "dialog:block(class=c)"},
  });
}

class DialogBase : public testing::Test {
protected:
  static CMarkupBundle::Files chain(int levels) {
    CMarkupBundle::Files files;
    for (int n = 1; n <= levels; ++n) {
      const std::string level = std::to_string(n);
      const std::string base = n < levels ? " base=\"chain" + std::to_string(n + 1) + ".xml\"" : "";
      files.emplace_back("chain" + level + ".xml", "<dialog" + base + " h" + level + "=\"1\"><class name=\"k\" l" +
                                                       level + "=\"1\"/></dialog>");
    }
    return files;
  }

  static CMarkupBundle::Files files() {
    CMarkupBundle::Files files = {
        {"base1.xml",
         "<dialog font=\"Tahoma\" size=\"9\" style=\"0x80C800C8\"><class name=\"k\" from=\"base1\" level=\"1\"/>"
         "<caption>Base Caption</caption><button>not inherited</button></dialog>"},
        {"base2.xml", "<dialog base=\"base1.xml\" size=\"10\"><class name=\"k\" from=\"base2\"/>"
                      "<class name=\"m\" m=\"2\"/></dialog>"},
        {"derived.xml", "<dialog base=\"base2.xml\" size=\"11\"><class name=\"k\" from=\"own\"/>"
                        "<a class=\"k\"/><b class=\"m\"/></dialog>"},
        {"self.xml", "<dialog base=\"self.xml\" x=\"1\"><class name=\"k\" n=\"1\"/><a class=\"k\"/></dialog>"},
        {"notdialog.xml", "<page size=\"99\"><class name=\"k\" x=\"1\"/></page>"},
        {"broken.xml", "<dialog><class name=\"k\"></dialog>"},
        {"strings/default.xml", CMarkupBundle::stringTable({{"unused", "x"}})},
    };
    for (auto& file : chain(25)) {
      files.push_back(std::move(file));
    }
    return files;
  }

  CMarkupBundle bundle_{files()};
};

TEST_F(DialogBase, ClassesAndHeaderComeFromTheWholeChain) {
  // The classes arrive deepest first: base1's k, base2's k and m, then the
  // dialog's own k, which is applied first.
  const std::string expected =
      "dialog:block(base=base2.xml;font=tahoma;size=11;style=0x80c800c8)"
      "[caption[\"Base Caption\"],a(class=k;from=own;level=1),b(class=m;m=2)]";
  EXPECT_EQ(dialog_dump::node(*prepareDialog(loadDialogMarkup(L"derived.xml")).root), expected);

  expectTrees({
      {"the dialog's own caption and header win",
       "<dialog base=\"base2.xml\" font=\"Arial\"><caption>Own</caption><a class=\"k\"/></dialog>",
       "dialog:block(base=base2.xml;font=arial;size=10;style=0x80c800c8)"
       "[caption[\"Own\"],a(class=k;from=base2;level=1)]"},
      {"a base whose root is not a dialog gives nothing",
       "<dialog base=\"notdialog.xml\"><a class=\"k\"/></dialog>", "dialog:block(base=notdialog.xml)[a(class=k)]"},
      {"only a dialog root has a base", "<page base=\"missing.xml\"/>", "page(base=missing.xml)"},
      {"an empty base names nothing", "<dialog base=\"\"/>", "dialog:block(base=)"},
  });
}

TEST_F(DialogBase, ClassesOfTheBaseGoBeforeTheDialogsOwnContent) {
  const XmlNodePtr root = markupRoot("<dialog base=\"base2.xml\"><first/></dialog>");
  inheritBaseDialogs(root);
  EXPECT_EQ(xml_dump::node(*root),
            "dialog(base=base2.xml;font=Tahoma;size=10;style=0x80C800C8)"
            "[class(from=base1;level=1;name=k),caption[\"Base Caption\"],class(from=base2;name=k),class(m=2;name=m),"
            "first]");
}

TEST_F(DialogBase, ChainsStopAfterTwentyLevels) {
  const XmlNodePtr root = markupRoot("<dialog base=\"chain1.xml\"><a class=\"k\"/></dialog>");
  DialogModel model = prepareDialog(root);
  const CDialogTreeNode& a = *model.root->firstChildNode();
  for (int n = 1; n <= 25; ++n) {
    const std::wstring level = std::to_wstring(n);
    EXPECT_EQ(a.hasAttribute(L"l" + level), n <= kMaxBaseLevels) << "class of level " << n;
    EXPECT_EQ(model.root->hasAttribute(L"h" + level), n <= kMaxBaseLevels) << "header of level " << n;
  }
}

TEST_F(DialogBase, ADialogThatIsItsOwnBaseStopsAfterTwentyLevels) {
  const XmlNodePtr root = loadDialogMarkup(L"self.xml");
  inheritBaseDialogs(root);
  int classes = 0;
  for (const CXmlNode* child = root->firstChildNode(); child; child = child->nextSiblingNode()) {
    classes += child->text == L"class";
  }
  EXPECT_EQ(classes, kMaxBaseLevels + 1);

  EXPECT_EQ(dialog_dump::node(*prepareDialog(loadDialogMarkup(L"self.xml")).root),
            "dialog:block(base=self.xml;x=1)[a(class=k;n=1)]");
}

TEST_F(DialogBase, MissingOrBrokenBasesFail) {
  try {
    prepareDialog(markupRoot("<dialog base=\"missing.xml\"/>"));
    FAIL() << "a missing base was accepted";
  } catch (const XExceptionResource& e) {
    EXPECT_EQ(exceptionText(e), "Resource not found: missing.xml");
  }
  EXPECT_THROW(prepareDialog(markupRoot("<dialog base=\"broken.xml\"/>")), XExceptionXml);
  // Names are matched exactly, letter case included.
  EXPECT_THROW(loadDialogMarkup(L"Derived.xml"), XExceptionResource);
}

class DialogLocalisation : public testing::Test {
protected:
  CMarkupBundle bundle_{{{"strings/default.xml", CMarkupBundle::stringTable({
                                                     {"page.name", "Your Name"},
                                                     {"page.name.title", "Type Your Name"},
                                                     {"Page.Case", "Mixed Key"},
                                                     {"absolute", "Absolute Text"},
                                                     {"absolute.title", "Absolute Tip"},
                                                     {".solo", "Solo"},
                                                     {"xbutton.ok", "Fine"},
                                                     {"page.caption", "Page Caption"},
                                                 })}}};
};

TEST_F(DialogLocalisation, StringIdsAndTheDialogPrefix) {
  expectTrees({
      {"a dotted lid under the prefix: key and key.title",
       "<dialog lid=\"page\"><text lid=\".name\">Default</text></dialog>",
       "dialog:block[text(lid=.name;title=Type Your Name)[\"Your Name\"]]"},
      {"the title is replaced; without a text child no text is made",
       "<dialog lid=\"page\"><text lid=\".name\" title=\"Old\"/></dialog>",
       "dialog:block[text(lid=.name;title=Type Your Name)]"},
      {"a missing key keeps text and title", "<dialog lid=\"page\"><static lid=\".gone\" title=\"Tip\">Keep</static></dialog>",
       "dialog:block[static(lid=.gone;title=Tip)[\"Keep\"]]"},
      {"an absolute key ignores the prefix", "<dialog lid=\"page\"><a lid=\"absolute\">x</a></dialog>",
       "dialog:block[a(lid=absolute;title=Absolute Tip)[\"Absolute Text\"]]"},
      {"without a prefix a dotted key is used as written", "<dialog><a lid=\".solo\">x</a><a lid=\".name\">y</a></dialog>",
       "dialog:block[a(lid=.solo)[\"Solo\"],a(lid=.name)[\"y\"]]"},
      {"keys are looked up before case folding", "<dialog lid=\"Page\"><a lid=\".Case\">x</a></dialog>",
       "dialog:block[a(lid=.case)[\"Mixed Key\"]]"},
      {"only a first child that is text is replaced",
       "<dialog lid=\"page\"><div lid=\".name\"><b>bold</b>tail</div></dialog>",
       "dialog:block[div:block(lid=.name;title=Type Your Name)[b[\"bold\"],\"tail\"]]"},
      {"children share the prefix", "<dialog lid=\"page\"><div><div><a lid=\".name\">x</a></div></div></dialog>",
       "dialog:block[div:block[div:block[a(lid=.name;title=Type Your Name)[\"Your Name\"]]]]"},
      {"a lid written in capitals is no string id", "<dialog lid=\"page\"><a Lid=\".name\">x</a></dialog>",
       "dialog:block[a(lid=.name)[\"x\"]]"},
      {"an empty lid is none", "<dialog lid=\"page\"><a lid=\"\">x</a></dialog>", "dialog:block[a(lid=)[\"x\"]]"},
      {"a lid from a class is localised",
       "<dialog lid=\"page\"><class name=\"n\" lid=\".name\"/><text class=\"n\">x</text></dialog>",
       "dialog:block[text(class=n;lid=.name;title=Type Your Name)[\"Your Name\"]]"},
  });
}

TEST_F(DialogLocalisation, ButtonsAndCaption) {
  expectTrees({
      {"a button type in capitals finds its caption", "<dialog><xbutton type=\"OK\"/></dialog>",
       "dialog:block[xbutton(type=ok)[\"Fine\"]]"},
      {"the table's caption replaces the button's own text", "<dialog><xbutton type=\"ok\">Sure</xbutton></dialog>",
       "dialog:block[xbutton(type=ok)[\"Fine\"]]"},
      {"a missing caption keeps the button's text",
       "<dialog><xbutton type=\"cancel\">Stop</xbutton><xbutton type=\"no\"/></dialog>",
       "dialog:block[xbutton(type=cancel)[\"Stop\"],xbutton(type=no)]"},
      {"a button with a lid follows its lid", "<dialog lid=\"page\"><xbutton type=\"ok\" lid=\".name\">x</xbutton></dialog>",
       "dialog:block[xbutton(lid=.name;title=Type Your Name;type=ok)[\"Your Name\"]]"},
      {"the caption from prefix.caption", "<dialog lid=\"page\"><caption>Own</caption></dialog>",
       "dialog:block[caption[\"Page Caption\"]]"},
      {"an empty caption is filled", "<dialog lid=\"page\"><caption/></dialog>", "dialog:block[caption[\"Page Caption\"]]"},
      {"a missing caption key keeps the text", "<dialog lid=\"other\"><caption>Own</caption></dialog>",
       "dialog:block[caption[\"Own\"]]"},
  });
}

TEST(DialogLocalisationFailure, AStringTableThatCannotBeReadFailsThePreparation) {
  CMarkupBundle bundle(CMarkupBundle::Files{{"other.xml", "<dialog/>"}});
  // Markup that looks nothing up never needs the table.
  EXPECT_EQ(preparedTree("<dialog><a>x</a></dialog>"), "dialog:block[a[\"x\"]]");
  try {
    preparedTree("<dialog><a lid=\"key\">x</a></dialog>");
    FAIL() << "a missing string table was ignored";
  } catch (const XExceptionResource& e) {
    EXPECT_EQ(exceptionText(e), "Resource not found: strings/default.xml");
  }
}

}  // namespace
