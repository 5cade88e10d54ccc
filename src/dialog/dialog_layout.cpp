#include "dialog/dialog_layout.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "base/integer.h"
#include "dialog/layout_flow.h"
#include "dialog/markup_vocabulary.h"

namespace {

// Visits every shown cell below the container, and the container with it:
// visit(cell, container).
template <class Visit>
void forEachShownCell(const CDialogNode& container, const Visit& visit) {
  for (const DialogNodePtr& cell : container.cells) {
    if (cell->display == CDialogNode::None) {
      continue;
    }
    visit(*cell, container);
    forEachShownCell(*cell, visit);
  }
}

bool isControl(const CDialogNode& node) { return node.isText() || isControlElement(node); }

}  // namespace

CBoxSize layOutDialog(DialogModel& model, XCellMeasure& measure) {
  CDialogTreeNode& root = *model.root;
  applyBoxModel(root, model.em());
  buildCells(root, measure);
  equaliseGroups(root);
  CFlowLayout(model.em()).layOut(root, 0, 0, CContentWidth());
  extendToTheRight(root);
  return {root.box.right - root.box.left, root.box.bottom - root.box.top};
}

void equaliseGroups(CDialogTreeNode& root) {
  std::map<std::wstring, std::vector<CDialogNode*>> groups;
  forEachShownCell(root, [&](CDialogNode& cell, const CDialogNode&) {
    const std::wstring* group = cell.attribute(L"group");
    if (group && isControlElement(cell)) {
      groups[*group].push_back(&cell);
    }
  });
  for (auto& [name, members] : groups) {
    std::int32_t widest = 0;
    for (const CDialogNode* member : members) {
      widest = std::max(widest, member->naturalSize.cx);
    }
    for (CDialogNode* member : members) {
      member->naturalSize.cx = widest;
    }
  }
}

void extendToTheRight(CDialogTreeNode& root) {
  forEachShownCell(root, [](CDialogNode& cell, const CDialogNode& container) {
    const std::wstring* extend = cell.attribute(L"extend");
    const std::optional<std::int32_t> amount = extend ? parseInteger(*extend) : std::nullopt;
    if (!amount || *amount == 0 || !isControlElement(cell)) {
      return;
    }
    const std::int64_t edge =
        std::int64_t{container.box.right} - container.margin.right - container.padding.right;
    if (edge > cell.box.right) {
      cell.naturalSize.cx = heldCoordinate(cell.naturalSize.cx + (edge - cell.box.right));
      cell.box.right = heldCoordinate(edge);
    }
  });
}

CBoxSize dialogWindowSize(CBoxSize client, CBoxSize frameExtra) {
  return {client.cx + frameExtra.cx, client.cy + frameExtra.cy};
}

CBoxRect windowRectOf(const CDialogNode& node) {
  return {node.box.left + node.margin.left + node.padding.left, node.box.top + node.margin.top + node.padding.top,
          node.box.right - node.margin.right - node.padding.right,
          node.box.bottom - node.margin.bottom - node.padding.bottom};
}

void forEachShownWindow(const CDialogTreeNode& root,
                        const std::function<void(const CDialogNode&, const CBoxRect&)>& show) {
  forEachShownCell(root, [&](const CDialogNode& cell, const CDialogNode&) {
    if (isControl(cell)) {
      show(cell, windowRectOf(cell));
    }
  });
}
