// What the elements of the markup are when their attributes say nothing:
// their display and their spacing.
#pragma once

#include <cstdint>

#include "dialog/dialog_node.h"

// `dialog` and `div` are blocks, `hr` is always a block unless hidden, and
// every other element and every text run is inline.  A `display` of "block",
// "inline" or "none" replaces the default; any other value leaves it.
std::int32_t displayOf(const CDialogNode& node);

// The margin before attributes: one em on every side of `dialog`, none for
// `div` and `static`, one em above and below `hr`, and for every other
// element 0 left, 2 above, 4 right and 2 below.  Text runs and line breaks
// have none.
CBoxRect defaultMargin(const CDialogNode& node, std::int32_t em);

// Gives every node of the tree its display, its margin and padding (defaults,
// then the `margin` and `padding` attributes) and its requested `width`, with
// lengths in the given em.  Runs once the dialog font, and so the em, is
// known.
void applyBoxModel(CDialogTreeNode& root, std::int32_t em);
