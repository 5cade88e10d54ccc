// The state of one markup dialog: its prepared node tree and what building
// the window adds to it (identifiers, the standard buttons, the controls and
// labels made, the dialog's DPI and font metrics).  Owned by its dialog.
#pragma once

#include <cstdint>
#include <vector>

#include "dialog/dialog_node.h"

// The dialog font's text height is the em of every length; until the font
// has been measured it is 8 pixels.
inline constexpr std::int32_t kDefaultEm = 8;
inline constexpr std::int32_t kDefaultDpi = 96;
inline constexpr std::int32_t kFirstControlId = 1000;
inline constexpr std::uint16_t kDefaultPointSize = 8;

struct CDialogDpi {
  // The DPI the controls were first laid out at, the one they are scaled to
  // now, and the window's own when it was built.
  std::int32_t build = kDefaultDpi;
  std::int32_t current = kDefaultDpi;
  std::int32_t window = kDefaultDpi;
};

struct CFontMetrics {
  std::int32_t textHeight = kDefaultEm;
  std::int32_t averageCharWidth = 0;
};

class DialogModel {
public:
  DialogModel() = default;
  DialogModel(DialogModel&&) noexcept = default;
  DialogModel& operator=(DialogModel&&) noexcept = default;

  std::int32_t em() const noexcept { return metrics.textHeight; }

  DialogNodePtr root;
  // The point size of the dialog font, from the root's `size`.
  std::uint16_t fontSize = kDefaultPointSize;
  CDialogDpi dpi;
  CFontMetrics metrics;
  // The identifier the next control without a usable `dialog-id` gets.
  std::int32_t nextControlId = kFirstControlId;
  // The `xbutton` elements taken out of the tree for the button row.
  std::vector<DialogNodePtr> xbuttons;
  // Every control made, in the order of creation.
  std::vector<DialogNodePtr> controls;
  std::vector<DialogNodePtr> labels;
};
