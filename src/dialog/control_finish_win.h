// What a markup dialog's controls get once they are laid out: labels placed
// before the controls they name, the columns of lists, and mnemonics.
#pragma once

#include "dialog/dialog_model.h"

// Moves each label with a `for` right after the window that precedes the
// control whose `id` it names, so that it comes just before that control in
// the tab order and its mnemonic reaches it; when nothing precedes the
// control, the label goes to the end of the order.
void bindLabels(const DialogModel& model);

// Gives every `list` one column per `column` child, the client width less a
// scroll bar shared out among them.
void addListColumns(const DialogModel& model);

// Puts an "&" before a letter of every button, check box, radio button and
// label that can have one: first those with a `dialog-id`, then the labels
// (not those with `amp` "0"), then the other buttons.
void assignMnemonics(const DialogModel& model);
