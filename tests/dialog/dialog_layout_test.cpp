// Layout of markup with sizes the test gives: every row is a markup snippet
// and the boxes it must give (see layout_test_support.h for the measure and
// the picture).  Characters are 4 pixels wide and 8 high, the em is 8.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog/layout_cells.h"
#include "layout_test_support.h"

namespace {

struct LayoutCase {
  const char* what;
  std::string markup;
  std::string boxes;
};

void expectBoxes(const std::vector<LayoutCase>& cases) {
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(std::string(c.what) + ": " + c.markup);
    EXPECT_EQ(laidOutBoxes(c.markup), c.boxes);
  }
}

TEST(DialogLayout, TextRunsCutIntoWords) {
  const struct {
    const wchar_t* text;
    std::vector<std::wstring> pieces;  // an empty piece is a line break
  } cases[] = {
      {L"a b", {L"a ", L"b"}},
      {L"  a  b  ", {L"  a  ", L"b  "}},
      {L"\n   one two\n   three\n  ", {L"one ", L"two", L"", L"three"}},
      {L"a\r\nb", {L"a", L"", L"b"}},
      {L"a  \n  b", {L"a", L"", L"b"}},
      {L"a\n\nb", {L"a", L"", L"", L"b"}},
      {L"x\ty z", {L"x\ty ", L"z"}},
      {L"x \n", {L"x"}},
      {L"text \nmore", {L"text", L"", L"more"}},
      {L"  lead\nend", {L"  lead", L"", L"end"}},
      {L" ", {L" "}},
      {L"\n \t\n", {}},
      {L"", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(xml_dump::visible(c.text));
    EXPECT_EQ(cutTextRun(c.text), c.pieces);
  }
}

TEST(DialogLayout, Lines) {
  expectBoxes({
      {"a word that passes the right edge wraps", "<dialog margin=\"0\" width=\"40px\">aaa bbb ccc</dialog>",
       "dialog(0,0,40,16)[\"aaa \"(0,0,16,8),\"bbb \"(16,0,32,8),\"ccc\"(0,8,12,16)]"},
      {"a word wider than the line stays on a line of its own",
       "<dialog margin=\"0\" width=\"20px\">x abcdefgh ij</dialog>",
       "dialog(0,0,20,24)[\"x \"(0,0,8,8),\"abcdefgh \"(0,8,36,16),\"ij\"(0,16,8,24)]"},
      {"a word wider than the line at its start is not wrapped",
       "<dialog margin=\"0\" width=\"20px\">abcdefgh</dialog>", "dialog(0,0,20,8)[\"abcdefgh\"(0,0,32,8)]"},
      {"two br leave an empty line of the text height", "<dialog margin=\"0\">a<br/><br/>b</dialog>",
       "dialog(0,0,4,24)[\"a\"(0,0,4,8),br,br,\"b\"(0,16,4,24)]"},
      {"an empty line in the text does the same", "<dialog margin=\"0\">a\n\nb</dialog>",
       "dialog(0,0,4,24)[\"a\"(0,0,4,8),br,br,\"b\"(0,16,4,24)]"},
      {"indented lines lose their indentation, blanks between words stay",
       "<dialog margin=\"0\">\n   one two\n   three\n</dialog>",
       "dialog(0,0,28,16)[\"one \"(0,0,16,8),\"two\"(16,0,28,8),br,\"three\"(0,8,20,16)]"},
      {"the line is as high as its highest cell",
       "<dialog margin=\"0\" width=\"30px\">ab<button nw=\"10\" nh=\"20\" margin=\"0\"/>cd efg</dialog>",
       "dialog(0,0,30,28)[\"ab\"(0,0,8,8),button(8,0,18,20),\"cd \"(18,0,30,8),\"efg\"(0,20,12,28)]"},
      {"no width: the dialog is as wide as its longest line", "<dialog margin=\"0\">aaa bbb ccc</dialog>",
       "dialog(0,0,44,8)[\"aaa \"(0,0,16,8),\"bbb \"(16,0,32,8),\"ccc\"(32,0,44,8)]"},
  });
}

TEST(DialogLayout, Alignment) {
  expectBoxes({
      {"right: each line by its own free space",
       "<dialog margin=\"0\" width=\"40px\" align=\"right\">aa bbb<br/>c</dialog>",
       "dialog(0,0,40,16)[\"aa \"(16,0,28,8),\"bbb\"(28,0,40,8),br,\"c\"(36,8,40,16)]"},
      {"center: by half of it", "<dialog margin=\"0\" width=\"40px\" align=\"center\">aa bbb<br/>c</dialog>",
       "dialog(0,0,40,16)[\"aa \"(8,0,20,8),\"bbb\"(20,0,32,8),br,\"c\"(18,8,22,16)]"},
      {"right: wrapped lines too", "<dialog margin=\"0\" width=\"40px\" align=\"right\">aaa bbb ccc</dialog>",
       "dialog(0,0,40,16)[\"aaa \"(8,0,24,8),\"bbb \"(24,0,40,8),\"ccc\"(28,8,40,16)]"},
      {"anything else is left", "<dialog margin=\"0\" width=\"40px\" align=\"middle\">aa</dialog>",
       "dialog(0,0,40,8)[\"aa\"(0,0,8,8)]"},
      {"a line wider than the content stays where it begins",
       "<dialog margin=\"0\" width=\"20px\" align=\"right\">abcdefgh</dialog>",
       "dialog(0,0,20,8)[\"abcdefgh\"(0,0,32,8)]"},
      {"a block ends the line; the container holds its children in its padding",
       "<dialog margin=\"0\" padding=\"2px\" width=\"44px\" align=\"right\">ab<div>c</div>d</dialog>",
       "dialog(0,0,44,28)[\"ab\"(34,2,42,10),div(2,10,42,18)[\"c\"(2,10,6,18)],\"d\"(38,18,42,26)]"},
  });
}

TEST(DialogLayout, BlocksAndReflow) {
  expectBoxes({
      {"a block div inside an inline container takes its final width",
       "<dialog margin=\"0\"><span margin=\"0\"><div>ab</div>abcdef</span></dialog>",
       "dialog(0,0,24,16)[span(0,0,24,16)[div(0,0,24,8)[\"ab\"(0,0,8,8)],\"abcdef\"(0,8,24,16)]]"},
      {"and aligns its lines in it",
       "<dialog margin=\"0\"><span margin=\"0\"><div align=\"right\">ab</div>abcdef</span></dialog>",
       "dialog(0,0,24,16)[span(0,0,24,16)[div(0,0,24,8)[\"ab\"(16,0,24,8)],\"abcdef\"(0,8,24,16)]]"},
      {"blocks of a dialog fill its width", "<dialog margin=\"0\"><div>a</div><div>abc</div></dialog>",
       "dialog(0,0,12,16)[div(0,0,12,8)[\"a\"(0,0,4,8)],div(0,8,12,16)[\"abc\"(0,8,12,16)]]"},
      {"a block with a width of its own keeps it, and layout ends",
       "<dialog margin=\"0\"><div width=\"10px\">a</div><div>abc</div></dialog>",
       "dialog(0,0,12,16)[div(0,0,10,8)[\"a\"(0,0,4,8)],div(0,8,12,16)[\"abc\"(0,8,12,16)]]"},
      {"a rule stretches over the content", "<dialog margin=\"0\" width=\"50px\">ab<hr nw=\"10\" nh=\"2\"/>cd</dialog>",
       "dialog(0,0,50,34)[\"ab\"(0,0,8,8),hr(0,8,50,26),\"cd\"(0,26,8,34)]"},
      {"a height is the least content height", "<dialog margin=\"0\"><div height=\"3em\">a</div></dialog>",
       "dialog(0,0,4,24)[div(0,0,4,24)[\"a\"(0,0,4,8)]]"},
  });
}

TEST(DialogLayout, Spacing) {
  expectBoxes({
      {"margins and padding of a control, four sides",
       "<dialog margin=\"0\" padding=\"2px\"><button nw=\"20\" nh=\"10\" margin=\"1px 2px 3px 4px\" padding=\"1px\"/>"
       "</dialog>",
       "dialog(0,0,32,20)[button(2,2,30,18)]"},
      {"default margins: one em around the dialog, 0 2 4 2 around a control",
       "<dialog><button nw=\"20\" nh=\"10\"/></dialog>", "dialog(0,0,40,30)[button(8,8,32,22)]"},
      {"a transparent element is an inline container with a control's margins",
       "<dialog margin=\"0\">a<b>bc</b>d</dialog>",
       "dialog(0,0,20,12)[\"a\"(0,0,4,8),b(4,0,16,12)[\"bc\"(4,2,12,10)],\"d\"(16,0,20,8)]"},
  });
  const CLaidOut dialog = laidOut("<dialog margin=\"0\" padding=\"2px\"><button nw=\"20\" nh=\"10\" "
                                  "margin=\"1px 2px 3px 4px\" padding=\"1px\"/></dialog>");
  std::vector<std::string> windows;
  forEachShownWindow(*dialog.model.root, [&](const CDialogNode& node, const CBoxRect& rect) {
    windows.push_back(xml_dump::visible(node.name) + layout_dump::box(rect));
  });
  EXPECT_EQ(windows, std::vector<std::string>{"button(7,4,27,14)"});
}

TEST(DialogLayout, DisplayNone) {
  const CLaidOut dialog =
      laidOut("<dialog margin=\"0\">a<div display=\"none\"><button/>x<text/></div>b<label display=\"none\"/>"
              "<static>s</static></dialog>");
  EXPECT_EQ(layout_dump::cells(*dialog.model.root),
            "dialog(0,0,48,10)[\"a\"(0,0,4,8),div:none,\"b\"(4,0,8,8),label:none,static(8,0,48,10)]");
  // Nothing inside is made or measured, and nothing of it is shown.
  EXPECT_EQ(dialog.measure.measured, std::vector<std::string>{"static"});
  std::vector<std::string> shown;
  forEachShownWindow(*dialog.model.root,
                     [&](const CDialogNode& node, const CBoxRect&) { shown.push_back(xml_dump::visible(node.name)); });
  EXPECT_EQ(shown, (std::vector<std::string>{"a", "b", "static"}));
  const CDialogNode& hidden = *dialog.model.root->cells[1];
  EXPECT_EQ(hidden.box, (CBoxRect{4, 0, 4, 0}));

  // A hidden dialog makes nothing and takes no space.
  const CLaidOut none = laidOut("<dialog display=\"none\" width=\"5em\">a<button/></dialog>");
  EXPECT_EQ(none.client, (CBoxSize{0, 0}));
  EXPECT_TRUE(none.measure.measured.empty());
  EXPECT_TRUE(none.model.root->cells.empty());
}

TEST(DialogLayout, SameWidthGroupsAndExtension) {
  expectBoxes({
      {"a group takes its widest member's width, over the whole tree",
       "<dialog margin=\"0\"><button nw=\"20\" group=\"g\" margin=\"0\"/><div><button nw=\"35\" group=\"g\" "
       "margin=\"0\"/></div><button nw=\"30\" margin=\"0\"/><button nw=\"5\" group=\"h\" margin=\"0\"/></dialog>",
       "dialog(0,0,35,30)[button(0,0,35,10),div(0,10,35,20)[button(0,10,35,20)],button(0,20,30,30),"
       "button(30,20,35,30)]"},
      {"extend reaches the content's right edge; \"true\" does not count",
       "<dialog margin=\"0\" width=\"60px\" padding=\"3px\"><button nw=\"20\" extend=\"1\"/><br/>"
       "<button nw=\"10\" extend=\"true\"/></dialog>",
       "dialog(0,0,60,34)[button(3,3,57,17),br,button(3,17,17,31)]"},
      {"extend inside a div reaches the div's edge",
       "<dialog margin=\"0\" width=\"60px\"><div padding=\"5px\"><text nw=\"8\" margin=\"0\" extend=\"-1\"/></div>"
       "</dialog>",
       "dialog(0,0,60,20)[div(0,0,60,20)[text(5,5,55,15)]]"},
  });
}

TEST(DialogLayout, DialogSize) {
  const CLaidOut dialog = laidOut("<dialog width=\"100px\">text</dialog>");
  EXPECT_EQ(layout_dump::cells(*dialog.model.root), "dialog(0,0,100,24)[\"text\"(8,8,24,16)]");
  EXPECT_EQ(dialog.client, (CBoxSize{100, 24}));
  EXPECT_EQ(dialogWindowSize(dialog.client, {16, 39}), (CBoxSize{116, 63}));
  // The dialog's em sizes every length.
  CLaidOut larger{preparedModel("<dialog><button nw=\"10\" nh=\"10\" margin=\"0\"/></dialog>"), {}, {}};
  larger.model.metrics.textHeight = 13;
  EXPECT_EQ(layOutDialog(larger.model, larger.measure), (CBoxSize{36, 36}));
}

TEST(DialogLayout, TextStyles) {
  const CLaidOut dialog = laidOut("<dialog margin=\"0\" font-size=\"medium\">a<b font-size=\"large\"><i>b</i>"
                                  "<static strong=\"0\"/></b><span strong=\"true\">c</span></dialog>");
  const std::vector<CTextStyle> expected = {
      {CTextStyle::Medium, 0},
      {CTextStyle::Large, CTextStyle::Bold | CTextStyle::Italic},
      {CTextStyle::Large, 0},
      {CTextStyle::Medium, CTextStyle::Bold},
  };
  EXPECT_EQ(dialog.measure.styles, expected);
  EXPECT_EQ((CTextStyle{CTextStyle::Large, CTextStyle::Bold | CTextStyle::Italic}.cacheKey()), 0x20003u);
  const struct {
    std::int32_t size;
    std::int32_t height;
    std::int32_t scaled;
  } heights[] = {{CTextStyle::Normal, -11, -11}, {CTextStyle::Medium, -11, -15}, {CTextStyle::Large, -11, -19},
                 {CTextStyle::Medium, 13, 18},   {CTextStyle::Large, 13, 23}};
  for (const auto& h : heights) {
    EXPECT_EQ(styleFontHeight(h.height, CTextStyle{h.size, 0}), h.scaled) << h.size << " " << h.height;
  }
}

TEST(DialogLayout, ControlUnits) {
  // Text height 13, average character width 6: rounded as MulDiv rounds.
  const CControlUnits units = controlUnits(CFontMetrics{13, 6});
  EXPECT_EQ(units.fieldHeight, 20);   // 19.5
  EXPECT_EQ(units.buttonHeight, 23);  // 22.75
  EXPECT_EQ(units.buttonWidth, 75);
  EXPECT_EQ(mulDivRounded(-13, 12, 8), -20);
  EXPECT_EQ(mulDivRounded(7, 1, 0), 0);
  EXPECT_EQ(mulDivRounded(2147483647, 2, 4), 1073741824);
}

}  // namespace
