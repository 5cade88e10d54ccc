// Keyboard mnemonics chosen by the dialog itself: every button, check box,
// radio button and label gets an "&" before a letter that no other one uses.
#pragma once

#include <string>
#include <vector>

struct CMnemonicCandidate {
  std::wstring text;
  // A label whose `amp` is "0" takes part in the order but gets nothing.
  bool enabled = true;
};

// The candidates' texts with their mnemonics, in the candidates' order.
// First pass: each enabled candidate takes the first ASCII letter not yet
// taken that begins its text or follows a blank.  Second pass: each one still
// without a letter takes the first letter not yet taken anywhere in its text.
// A candidate without a free letter keeps its text.  "S" and "s" are two
// letters, so "Save" and "save" both get their first letter.
std::vector<std::wstring> withMnemonics(const std::vector<CMnemonicCandidate>& candidates);
