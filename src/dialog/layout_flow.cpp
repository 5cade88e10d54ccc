#include "dialog/layout_flow.h"

#include <algorithm>

#include "dialog/layout_cells.h"

namespace {

std::int64_t horizontalSpacing(const CDialogNode& node) {
  return std::int64_t{node.margin.left} + node.padding.left + node.padding.right + node.margin.right;
}

std::int64_t verticalSpacing(const CDialogNode& node) {
  return std::int64_t{node.margin.top} + node.padding.top + node.padding.bottom + node.margin.bottom;
}

std::int64_t boxWidth(const CDialogNode& node) { return std::int64_t{node.box.right} - node.box.left; }

bool isBounded(CContentWidth width) { return width && *width <= kBoundedWidthLimit; }

// The box from its corner and its extent; an extent below zero (negative
// margins) leaves an empty box rather than one turned inside out.
void setBox(CDialogNode& node, std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height) {
  node.box = {heldCoordinate(x), heldCoordinate(y), heldCoordinate(x + std::max<std::int64_t>(width, 0)),
              heldCoordinate(y + std::max<std::int64_t>(height, 0))};
}

}  // namespace

std::int32_t heldCoordinate(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp(value, -kCoordinateLimit, kCoordinateLimit));
}

void moveBoxes(CDialogNode& node, std::int64_t dx, std::int64_t dy) {
  node.box = {heldCoordinate(node.box.left + dx), heldCoordinate(node.box.top + dy),
              heldCoordinate(node.box.right + dx), heldCoordinate(node.box.bottom + dy)};
  for (const DialogNodePtr& cell : node.cells) {
    moveBoxes(*cell, dx, dy);
  }
}

void collapseBoxes(CDialogNode& node, std::int64_t x, std::int64_t y) {
  setBox(node, x, y, 0, 0);
  for (const DialogNodePtr& cell : node.cells) {
    collapseBoxes(*cell, x, y);
  }
}

// One pass over a container's cells at a given content width.
struct CFlowLayout::CPass {
  std::int64_t contentLeft = 0;
  std::int64_t contentTop = 0;
  CContentWidth contentWidth;
  std::int64_t widestRight = 0;
  std::int64_t lowestBottom = 0;
  // The indices of the cells that begin a line.
  std::vector<std::size_t> lineStarts;
};

void CFlowLayout::layOut(CDialogNode& node, std::int64_t x, std::int64_t y, CContentWidth parentContent) {
  if (node.display == CDialogNode::None) {
    collapseBoxes(node, x, y);
  } else if (node.isElement() && !isControlElement(node)) {
    layOutContainer(node, x, y, parentContent);
  } else {
    layOutControl(node, x, y, parentContent);
  }
}

void CFlowLayout::layOutControl(CDialogNode& node, std::int64_t x, std::int64_t y, CContentWidth parentContent) {
  std::int64_t width = std::int64_t{node.naturalSize.cx} + horizontalSpacing(node);
  if (node.display == CDialogNode::Block && isBounded(parentContent)) {
    width = *parentContent;
  }
  setBox(node, x, y, width, std::int64_t{node.naturalSize.cy} + verticalSpacing(node));
}

void CFlowLayout::layOutContainer(CDialogNode& node, std::int64_t x, std::int64_t y, CContentWidth parentContent) {
  const auto earlier = laidOutIn_.find(&node);
  if (earlier != laidOutIn_.end() && earlier->second == parentContent) {
    moveBoxes(node, x - node.box.left, y - node.box.top);
    return;
  }
  // A block in a bounded parent fills the parent's content; a `width` is
  // the whole box, margins included; anything else shrinks to its content.
  CContentWidth width;
  if (node.display == CDialogNode::Block && isBounded(parentContent)) {
    width = parentContent;
  }
  if (node.width != kNoWidth) {
    width = node.width;
  }
  CPass pass = runPass(node, x, y, width);
  // Once more at the final width when a block child does not fill the
  // content.  A child whose own width differs keeps that condition true, so
  // a single further pass is all there is: the width is fixed after it.
  const std::int64_t finalContent = node.naturalSize.cx;
  const bool blockChildDiffers = std::any_of(node.cells.begin(), node.cells.end(), [&](const DialogNodePtr& cell) {
    return cell->display == CDialogNode::Block && boxWidth(*cell) != finalContent;
  });
  if (node.cells.size() > 1 && blockChildDiffers) {
    pass = runPass(node, x, y, finalContent + horizontalSpacing(node));
  }
  alignLines(node, pass);
  laidOutIn_[&node] = parentContent;
}

CFlowLayout::CPass CFlowLayout::runPass(CDialogNode& node, std::int64_t x, std::int64_t y, CContentWidth width) {
  CPass pass;
  pass.contentLeft = x + node.margin.left + node.padding.left;
  pass.contentTop = y + node.margin.top + node.padding.top;
  if (width) {
    pass.contentWidth = std::max<std::int64_t>(*width - horizontalSpacing(node), 0);
  }
  const std::int64_t minHeight = node.hasAttribute(L"height") ? std::max(node.length(L"height", em_), 0) : 0;
  pass.widestRight = pass.contentLeft;
  pass.lowestBottom = pass.contentTop + minHeight;
  placeCells(node, pass);

  const std::int64_t content = width ? *pass.contentWidth : pass.widestRight - pass.contentLeft;
  node.naturalSize = {heldCoordinate(content), heldCoordinate(pass.lowestBottom - pass.contentTop)};
  pass.contentWidth = content;
  setBox(node, x, y, content + horizontalSpacing(node),
         pass.lowestBottom + node.padding.bottom + node.margin.bottom - y);
  return pass;
}

void CFlowLayout::placeCells(CDialogNode& node, CPass& pass) {
  const CContentWidth inside = pass.contentWidth;
  std::int64_t penX = pass.contentLeft;
  std::int64_t penY = pass.contentTop;
  std::int64_t lineHeight = 0;
  bool beginsLine = true;
  const auto fits = [&](const CDialogNode& cell) {
    return !pass.contentWidth || cell.box.right <= pass.contentLeft + *pass.contentWidth;
  };
  for (std::size_t i = 0; i < node.cells.size(); ++i) {
    CDialogNode& cell = *node.cells[i];
    if (cell.display == CDialogNode::None) {
      collapseBoxes(cell, penX, penY);
    } else if (cell.isLineBreak()) {
      setBox(cell, penX, penY, 0, 0);
      penX = pass.contentLeft;
      penY += std::max<std::int64_t>(lineHeight, cell.naturalSize.cy);
      lineHeight = cell.naturalSize.cy;
      beginsLine = true;
    } else if (cell.display == CDialogNode::Block) {
      layOut(cell, pass.contentLeft, pass.lowestBottom, inside);
      pass.lowestBottom = cell.box.bottom;
      pass.widestRight = std::max<std::int64_t>(pass.widestRight, cell.box.right);
      penX = pass.contentLeft;
      penY = cell.box.bottom;
      lineHeight = 0;
      beginsLine = true;
    } else {
      layOut(cell, penX, penY, inside);
      if (!beginsLine && !fits(cell)) {
        penX = pass.contentLeft;
        penY += lineHeight;
        lineHeight = 0;
        beginsLine = true;
        layOut(cell, penX, penY, inside);
      }
      if (beginsLine) {
        pass.lineStarts.push_back(i);
      }
      beginsLine = false;
      lineHeight = std::max<std::int64_t>(lineHeight, std::int64_t{cell.box.bottom} - cell.box.top);
      penX = cell.box.right;
      pass.widestRight = std::max<std::int64_t>(pass.widestRight, cell.box.right);
      pass.lowestBottom = std::max<std::int64_t>(pass.lowestBottom, cell.box.bottom);
    }
  }
}

void CFlowLayout::alignLines(CDialogNode& node, const CPass& pass) {
  const std::wstring* align = node.attribute(L"align");
  const bool right = align && *align == L"right";
  const bool centre = align && *align == L"center";
  if (!right && !centre) {
    return;
  }
  for (std::size_t n = 0; n < pass.lineStarts.size(); ++n) {
    // A line runs to the next line's first cell, or to a block.
    const std::size_t first = pass.lineStarts[n];
    const std::size_t limit = n + 1 < pass.lineStarts.size() ? pass.lineStarts[n + 1] : node.cells.size();
    std::size_t end = first;
    std::int64_t extentRight = node.cells[first]->box.left;
    for (; end < limit && node.cells[end]->display != CDialogNode::Block; ++end) {
      const CDialogNode& cell = *node.cells[end];
      if (cell.display == CDialogNode::Inline && !cell.isLineBreak() && cell.naturalSize.cx != 0) {
        extentRight = cell.box.right;
      }
    }
    const std::int64_t freeSpace = *pass.contentWidth - (extentRight - node.cells[first]->box.left);
    // A line wider than the content stays where it begins.
    const std::int64_t shift = freeSpace <= 0 ? 0 : right ? freeSpace : freeSpace / 2;
    for (std::size_t i = first; shift != 0 && i < end; ++i) {
      CDialogNode& cell = *node.cells[i];
      if (cell.display == CDialogNode::Inline && !cell.isLineBreak()) {
        moveBoxes(cell, shift, 0);
      }
    }
  }
}
