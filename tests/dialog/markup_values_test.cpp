// The value forms of the markup: lengths, booleans, the margin and padding
// shorthands, and what elements are without attributes.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "dialog/dialog_node.h"
#include "dialog/markup_values.h"
#include "dialog/markup_vocabulary.h"

namespace {

struct LengthCase {
  const wchar_t* text;
  std::int32_t em;
  std::int32_t pixels;
};

TEST(MarkupValues, Lengths) {
  const std::vector<LengthCase> cases = {
      {L"0", 8, 0},
      {L"100", 8, 100},  // a bare number is not a length
      {L"7", 8, 100},
      {L"wide", 8, 100},
      {L"", 8, 100},
      {L"2em", 13, 26},
      {L"1em", 8, 8},
      {L"1.5em", 13, 20},  // 19.5: halves away from zero
      {L"-1.5em", 13, -20},
      {L"0.4em", 13, 5},  // 5.2
      {L".5em", 8, 4},
      {L"5.em", 8, 40},
      {L"12px", 8, 12},
      {L"2.5px", 8, 3},
      {L"-2.5px", 8, -3},
      {L"2.49px", 8, 2},
      {L"0px", 8, 0},
      {L"0em", 8, 0},
      {L"00", 8, 100},  // only the single text "0" is zero without a unit
      {L"-0", 8, 100},
      {L"3pt", 8, 100},
      {L"3PX", 8, 100},  // the unit is compared exactly
      {L"3px ", 8, 100},
      {L" 3px", 8, 100},
      {L"+3px", 8, 100},
      {L"1e2px", 8, 100},
      {L"-px", 8, 100},
      {L".px", 8, 100},
      {L"3emx", 8, 100},
  };
  for (const LengthCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "\"" << std::string(c.text, c.text + std::wcslen(c.text)) << "\" em " << c.em);
    EXPECT_EQ(parseLength(c.text, c.em), c.pixels);
  }
}

TEST(MarkupValues, HugeLengthsAreHeldWithinTheLimit) {
  const std::wstring manyDigits(400, L'9');
  EXPECT_EQ(parseLength(manyDigits + L"px", 8), kLengthLimit);
  EXPECT_EQ(parseLength(L"-" + manyDigits + L"em", 8), -kLengthLimit);
  EXPECT_EQ(parseLength(L"99999999999em", 13), kLengthLimit);
  EXPECT_EQ(parseLength(L"1048575.6px", 8), kLengthLimit);
  EXPECT_EQ(parseLength(L"1048575.4px", 8), kLengthLimit - 1);
  EXPECT_EQ(parseLength(L"0." + manyDigits + L"px", 8), 1);
}

TEST(MarkupValues, Booleans) {
  for (const wchar_t* yes : {L"true", L"TRUE", L"True", L"1", L"-1", L"2", L"0x10", L"0X1"}) {
    EXPECT_TRUE(parseBoolean(yes)) << std::wstring(yes).size();
  }
  for (const wchar_t* no : {L"0", L"0x0", L"", L"false", L"yes", L"on", L" 1", L"1 ", L"true ", L"-", L"truex"}) {
    EXPECT_FALSE(parseBoolean(no)) << std::wstring(no).size();
  }
}

TEST(MarkupValues, AbsentBooleansTakeTheReadersDefault) {
  CDialogNode node(CDialogNode::Element, L"combo");
  EXPECT_TRUE(node.flag(L"sort", true));
  EXPECT_FALSE(node.flag(L"checked"));
  node.attributes.set(L"sort", L"no");
  EXPECT_FALSE(node.flag(L"sort", true));
}

struct BoxCase {
  const wchar_t* text;
  CBoxRect box;  // left, top, right, bottom
};

TEST(MarkupValues, BoxShorthands) {
  const CBoxRect before{7, 7, 7, 7};
  const std::vector<BoxCase> cases = {
      {L"1em", {10, 10, 10, 10}},
      {L"1em 2em", {20, 10, 20, 10}},
      {L"1em 2em 3em", {20, 10, 20, 30}},
      {L"1em 2em 3em 4em", {40, 10, 20, 30}},
      {L"1px\t2px  3px \t 4px", {4, 1, 2, 3}},
      {L"  5px  ", {5, 5, 5, 5}},
      {L"1px 2px 3px 4px 5px", {4, 1, 2, 3}},  // the fifth is not read
      {L"0 wide", {100, 0, 100, 0}},
      {L"", {7, 7, 7, 7}},
      {L" \t ", {7, 7, 7, 7}},
  };
  for (const BoxCase& c : cases) {
    SCOPED_TRACE(testing::Message() << std::wstring(c.text).size() << " characters");
    CBoxRect box = before;
    readBoxShorthand(c.text, 10, box);
    EXPECT_EQ(box, c.box) << box.left << "," << box.top << "," << box.right << "," << box.bottom;
  }
}

TEST(MarkupValues, SingleSidesOverrideTheShorthand) {
  CDialogNode node(CDialogNode::Element, L"div");
  node.attributes.set(L"margin", L"1em");
  node.attributes.set(L"margin-left", L"0");
  node.attributes.set(L"margin-bottom", L"3px");
  node.attributes.set(L"padding-top", L"wide");
  CBoxRect margin;
  readBoxProperty(node, L"margin", 8, margin);
  EXPECT_EQ(margin, (CBoxRect{0, 8, 8, 3}));
  CBoxRect padding{1, 1, 1, 1};
  readBoxProperty(node, L"padding", 8, padding);
  EXPECT_EQ(padding, (CBoxRect{1, 100, 1, 1}));
}

TEST(MarkupVocabulary, DisplayByElementAndAttribute) {
  struct Case {
    const wchar_t* element;
    const wchar_t* display;  // nullptr: no attribute
    std::int32_t expected;
  };
  const std::vector<Case> cases = {
      {L"dialog", nullptr, CDialogNode::Block},
      {L"div", nullptr, CDialogNode::Block},
      {L"span", nullptr, CDialogNode::Inline},
      {L"button", nullptr, CDialogNode::Inline},
      {L"div", L"inline", CDialogNode::Inline},
      {L"button", L"block", CDialogNode::Block},
      {L"text", L"none", CDialogNode::None},
      {L"div", L"flex", CDialogNode::Block},  // an unknown value keeps the default
      {L"label", L"Block", CDialogNode::Inline},
      {L"hr", nullptr, CDialogNode::Block},
      {L"hr", L"inline", CDialogNode::Block},
      {L"hr", L"none", CDialogNode::None},
  };
  for (const Case& c : cases) {
    CDialogNode node(CDialogNode::Element, c.element);
    if (c.display) {
      node.attributes.set(L"display", c.display);
    }
    EXPECT_EQ(displayOf(node), c.expected) << std::wstring(c.element).size();
  }
  EXPECT_EQ(displayOf(CDialogNode(CDialogNode::Text, L"div")), CDialogNode::Inline);
}

TEST(MarkupVocabulary, DefaultMargins) {
  auto margin = [](std::int32_t kind, const wchar_t* name) { return defaultMargin(CDialogNode(kind, name), 13); };
  EXPECT_EQ(margin(CDialogNode::Element, L"dialog"), (CBoxRect{13, 13, 13, 13}));
  EXPECT_EQ(margin(CDialogNode::Element, L"div"), CBoxRect{});
  EXPECT_EQ(margin(CDialogNode::Element, L"static"), CBoxRect{});
  EXPECT_EQ(margin(CDialogNode::Element, L"hr"), (CBoxRect{0, 13, 0, 13}));
  EXPECT_EQ(margin(CDialogNode::Element, L"button"), (CBoxRect{0, 2, 4, 2}));
  EXPECT_EQ(margin(CDialogNode::Element, L"anything"), (CBoxRect{0, 2, 4, 2}));
  EXPECT_EQ(margin(CDialogNode::Text, L"word"), CBoxRect{});
  EXPECT_EQ(margin(CDialogNode::LineBreak, L""), CBoxRect{});
}

TEST(MarkupVocabulary, BoxModelAppliesDefaultsThenAttributes) {
  DialogNodePtr root = newDialogElement(L"dialog");
  root->attributes.set(L"margin-bottom", L"0");
  DialogNodePtr button = newDialogElement(L"button");
  button->attributes.set(L"width", L"2em");
  button->attributes.set(L"padding", L"1px 2px");
  DialogNodePtr hr = newDialogElement(L"hr");
  hr->attributes.set(L"margin", L"5px");
  DialogNodePtr text = newDialogText(L"word");
  CDialogTreeNode::appendChild(root, button);
  CDialogTreeNode::appendChild(root, hr);
  CDialogTreeNode::appendChild(button, text);

  applyBoxModel(*root, 13);

  EXPECT_EQ(root->margin, (CBoxRect{13, 13, 13, 0}));
  EXPECT_EQ(root->display, CDialogNode::Block);
  EXPECT_EQ(root->width, kNoWidth);
  EXPECT_EQ(button->margin, (CBoxRect{0, 2, 4, 2}));
  EXPECT_EQ(button->padding, (CBoxRect{2, 1, 2, 1}));
  EXPECT_EQ(button->width, 26);
  EXPECT_EQ(hr->margin, (CBoxRect{5, 5, 5, 5}));
  EXPECT_EQ(hr->display, CDialogNode::Block);
  EXPECT_EQ(text->margin, CBoxRect{});
  EXPECT_EQ(text->width, kNoWidth);
}

}  // namespace
