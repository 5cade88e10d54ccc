// The standard button row: the `xbutton` children of a dialog's root become
// push buttons in a right-aligned row at the bottom of the dialog, each with
// the caption and the result its type stands for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "dialog/dialog_model.h"

struct CStandardButton {
  std::wstring_view caption;
  // The result the dialog ends with when the button is pressed; also the
  // button's control identifier.
  std::optional<std::int32_t> result;
};

// What an `xbutton` of the (lower-case) type reads and returns: "ok" is
// "Ok" and 1, "try" is "Try again" and 10, and so on; an unknown type or
// none gives an empty caption and no result.
CStandardButton standardButton(std::wstring_view type);

// Takes the `xbutton` children of the root out of the tree, in document
// order, into model.xbuttons.  When there is at least one, the root loses its
// bottom margin and gets a spacer and the row at its end: a right-aligned
// block holding one inline `div` of buttons, in the order of the markup.
// Each button keeps the `title`, `id` and `default` of its `xbutton`, reads
// the `xbutton`'s own text when it has one (localisation has put the string
// table's text there), else the standard caption, and carries the standard
// result as its `dialog-id`.  Gives the row, or nothing without buttons.
// Runs once, before any control is made.
DialogNodePtr buildButtonRow(DialogModel& model);
