// The flow layout of a dialog's cells: block and inline boxes with margins
// and padding, lines that wrap at the content's right edge, one more pass
// when a block child does not fill its container, and line alignment.
//
// Layout only computes boxes; the window side moves the windows to them
// afterwards (dialog_layout.h).  It depends on nothing but the width a node
// is given, so a node laid out again with the same width is only moved.
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "dialog/dialog_node.h"

// Boxes are held within this many pixels either way, however deep the markup
// nests and however wide its margins are.
inline constexpr std::int64_t kCoordinateLimit = std::int64_t{1} << 30;

// The width of a parent's content, or none when it is unbounded.
using CContentWidth = std::optional<std::int64_t>;

class CFlowLayout {
public:
  // em: the dialog font's text height, for `height` lengths.
  explicit CFlowLayout(std::int32_t em) : em_(em) {}

  // Gives the node (a container, a control or a cell) its box with the
  // top-left corner at (x, y), within a parent whose content is
  // parentContent wide.  A node with display none gets an empty box there,
  // as does everything inside it.
  void layOut(CDialogNode& node, std::int64_t x, std::int64_t y, CContentWidth parentContent);

private:
  struct CPass;

  void layOutControl(CDialogNode& node, std::int64_t x, std::int64_t y, CContentWidth parentContent);
  void layOutContainer(CDialogNode& node, std::int64_t x, std::int64_t y, CContentWidth parentContent);
  CPass runPass(CDialogNode& node, std::int64_t x, std::int64_t y, CContentWidth width);
  void placeCells(CDialogNode& node, CPass& pass);
  void alignLines(CDialogNode& node, const CPass& pass);

  std::int32_t em_;
  // The width each container was last laid out in.
  std::unordered_map<const CDialogNode*, CContentWidth> laidOutIn_;
};

// Moves the node's box and everything inside it.
void moveBoxes(CDialogNode& node, std::int64_t dx, std::int64_t dy);

// Sets the node's box, and those of everything inside it, empty at (x, y).
void collapseBoxes(CDialogNode& node, std::int64_t x, std::int64_t y);

// A coordinate held within kCoordinateLimit.
std::int32_t heldCoordinate(std::int64_t value);
