// The cells a container lays out: its child elements, and the word and
// line-break cells cut from its text.  Building them also measures every
// cell: the window side creates a control or a text run's window and gives
// its natural size; the host tests give sizes of their own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dialog/dialog_model.h"
#include "dialog/text_style.h"

// What the cells of a dialog are measured with.  On Windows this creates the
// windows (one control per control element, one static per word, in
// document order) and measures them with the fonts of their styles.
class XCellMeasure {
public:
  virtual ~XCellMeasure() = default;
  // The natural size of a control element.
  virtual CBoxSize measureControl(CDialogNode& control, CTextStyle style) = 0;
  // The natural size of one word of text, its blanks included.
  virtual CBoxSize measureWord(CDialogNode& word, CTextStyle style) = 0;
  // The height of a line break: the height of the text "0".
  virtual std::int32_t lineBreakHeight(CTextStyle style) = 0;
};

// The elements that stand for one control each.  Every other element is a
// container that lays out its own cells.
bool isControlElement(const CDialogNode& node);

// A text node of the markup cut into pieces: the words, each with the blanks
// before it (at the start of a line) and after it, and an empty piece for
// every line break between two lines.  Carriage returns go, white space up
// to a first line feed that follows only blanks and tabs goes (likewise
// after the last one), and the blanks on either side of each line feed go.
std::vector<std::wstring> cutTextRun(std::wstring_view text);

// Gives every container of the tree, from root down, its cells, and every
// cell its natural size.  A `br` becomes a line-break cell; an element with
// display none stays a cell of its container but nothing inside it is built
// (a root with display none has no cells at all).
// Runs once, after the box model has given each node its display.
void buildCells(CDialogTreeNode& root, XCellMeasure& measure);
