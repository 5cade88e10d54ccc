// What the controls of a dialog need that touches no window: the standard
// button row, mnemonic letters and the width list columns share.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog/button_row.h"
#include "dialog/list_columns.h"
#include "dialog/mnemonics.h"
#include "dialog_test_support.h"
#include "markup_bundle.h"

namespace {

// The string table gives "yes" a caption of its own.
class ButtonRow : public ::testing::Test {
protected:
  const CMarkupBundle bundle_{{{"strings/default.xml", CMarkupBundle::stringTable({{"xbutton.yes", "Sure"}})}}};
};

std::string withRow(const std::string& markup) {
  DialogModel model = preparedModel(markup);
  buildButtonRow(model);
  return dialog_dump::node(*model.root);
}

TEST_F(ButtonRow, StandardCaptionsAndResults) {
  const struct {
    const wchar_t* type;
    const wchar_t* caption;
    int result;  // 0: none
  } cases[] = {
      {L"ok", L"Ok", 1},         {L"cancel", L"Cancel", 2}, {L"close", L"Close", 2},
      {L"yes", L"Yes", 6},       {L"no", L"No", 7},         {L"abort", L"Abort", 3},
      {L"retry", L"Retry", 4},   {L"try", L"Try again", 10}, {L"ignore", L"Ignore", 5},
      {L"continue", L"Continue", 11}, {L"help", L"", 0},     {L"", L"", 0},
      {L"OK", L"", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(xml_dump::visible(c.type));
    const CStandardButton button = standardButton(c.type);
    EXPECT_EQ(button.caption, c.caption);
    EXPECT_EQ(button.result.value_or(0), c.result);
  }
}

TEST_F(ButtonRow, XButtonsBecomeARightAlignedRowAtTheEnd) {
  const std::string tree = withRow(
      "<dialog xbutton-font-size=\"large\"><xbutton type=\"try\" id=\"again\" title=\"Once more\" default=\"1\" "
      "width=\"9em\"/>text<xbutton type=\"yes\"/><xbutton type=\"no\">Nope</xbutton><xbutton/></dialog>");
  EXPECT_EQ(tree, dialog_dump::node(*preparedModel(
                      "<dialog xbutton-font-size=\"large\" margin-bottom=\"0\">text"
                      "<div display=\"inline\" margin-top=\"1em\"/>"
                      "<div display=\"block\" align=\"right\" margin-top=\"0.4em\" margin-bottom=\"0.3em\" "
                      "font-size=\"large\"><div display=\"inline\">"
                      "<button title=\"Once more\" id=\"again\" default=\"1\" dialog-id=\"10\">Try again</button>"
                      "<button dialog-id=\"6\">Sure</button><button dialog-id=\"7\">Nope</button><button/>"
                      "</div></div></dialog>")
                                        .root));
}

TEST_F(ButtonRow, ADialogWithoutXButtonsStaysAsItIs) {
  const std::string markup = "<dialog><div><xbutton type=\"ok\"/></div>words</dialog>";
  EXPECT_EQ(withRow(markup), preparedTree(markup));
}

TEST(Mnemonics, TwoPassesOverTheCandidatesInOrder) {
  const struct {
    const char* what;
    std::vector<CMnemonicCandidate> candidates;
    std::vector<std::wstring> texts;
  } cases[] = {
      {"upper and lower case are two letters", {{L"Save"}, {L"save"}}, {L"&Save", L"&save"}},
      {"the first pass takes word starts only", {{L"Open"}, {L"Options"}, {L"Off or on"}},
       {L"&Open", L"O&ptions", L"Off &or on"}},
      {"the second pass takes any free letter", {{L"ab"}, {L"ab"}, {L"ab"}}, {L"&ab", L"a&b", L"ab"}},
      {"a disabled candidate gets nothing and takes nothing", {{L"Name", false}, {L"Next"}}, {L"Name", L"&Next"}},
      {"only ASCII letters count", {{L"1 \u00e9t\u00e9"}, {L"- x"}}, {L"1 \u00e9&t\u00e9", L"- &x"}},
      {"a word start after a blank, not after other marks", {{L"Go"}, {L"G-men"}}, {L"&Go", L"G-&men"}},
      {"no letters at all", {{L""}, {L"42"}}, {L"", L"42"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(withMnemonics(c.candidates), c.texts);
  }
}

TEST(ListColumns, TheWidthIsSharedAndTheLastTakesTheRest) {
  EXPECT_EQ(sharedColumnWidths(100, 3), (std::vector<std::int32_t>{33, 33, 34}));
  EXPECT_EQ(sharedColumnWidths(10, 4), (std::vector<std::int32_t>{2, 2, 3, 3}));
  EXPECT_EQ(sharedColumnWidths(90, 1), (std::vector<std::int32_t>{90}));
  EXPECT_EQ(sharedColumnWidths(90, 0), (std::vector<std::int32_t>{}));
  EXPECT_EQ(sharedColumnWidths(-5, 2), (std::vector<std::int32_t>{-2, -3}));
}

}  // namespace
