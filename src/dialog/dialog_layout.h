// Laying out a whole dialog: the box model at the dialog font's em, the cells
// and their natural sizes, same-width groups, the flow from the root at
// (0, 0), extension to the right, and the size of the window around it.
#pragma once

#include <cstdint>
#include <functional>

#include "dialog/dialog_model.h"
#include "dialog/layout_cells.h"

// Runs once per dialog, after the dialog font's metrics are in the model and
// before anything is shown; afterwards every node has its box.  Gives the
// size of the dialog's client area: the root's box.
CBoxSize layOutDialog(DialogModel& model, XCellMeasure& measure);

// Controls that share a `group` value all take the widest natural width in
// the group, over the whole tree.
void equaliseGroups(CDialogTreeNode& root);

// Every shown control whose `extend` is a non-zero integer reaches to the
// right edge of its container's content (its own margin inside that edge).
// A control that already passes that edge stays as it is.
void extendToTheRight(CDialogTreeNode& root);

// The window's size: the client size plus what the frame adds to it (the
// difference between the window and its client area when it was made).
CBoxSize dialogWindowSize(CBoxSize client, CBoxSize frameExtra);

// The rectangle of a control's window: its box less margin and padding.
CBoxRect windowRectOf(const CDialogNode& node);

// Calls show for every control and word cell that is shown, in cell order,
// with the rectangle its window is moved to.  The cells inside an element
// with display none are never shown (they were never made).
void forEachShownWindow(const CDialogTreeNode& root,
                        const std::function<void(const CDialogNode&, const CBoxRect&)>& show);
