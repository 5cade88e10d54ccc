#include "dialog/item_data_win.h"

#include <commctrl.h>

#include "base/ref_object.h"

namespace {

void releaseObject(LPARAM data) noexcept {
  if (data != 0) {
    reinterpret_cast<const CBaseRefObject*>(data)->release();
  }
}

// Depth first: an item's own data, then its children's, then its siblings'.
void releaseTreeItems(HWND tree, HTREEITEM item) noexcept {
  for (; item; item = TreeView_GetNextSibling(tree, item)) {
    TVITEMW data{};
    data.mask = TVIF_PARAM | TVIF_HANDLE;
    data.hItem = item;
    if (TreeView_GetItem(tree, &data)) {
      releaseObject(data.lParam);
    }
    releaseTreeItems(tree, TreeView_GetChild(tree, item));
  }
}

void releaseTree(HWND tree) noexcept {
  releaseTreeItems(tree, TreeView_GetRoot(tree));
  TreeView_DeleteAllItems(tree);
}

void releaseCombo(HWND combo) noexcept {
  const LRESULT count = ::SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT data = ::SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0);
    if (data != CB_ERR) {
      releaseObject(data);
    }
  }
  ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
}

void releaseList(HWND list) noexcept {
  const int count = ListView_GetItemCount(list);
  for (int i = 0; i < count; ++i) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = i;
    if (ListView_GetItem(list, &item)) {
      releaseObject(item.lParam);
    }
  }
  ListView_DeleteAllItems(list);
}

BOOL CALLBACK releaseIfMarked(HWND window, LPARAM) {
  switch (static_cast<std::uintptr_t>(::GetWindowLongPtrW(window, GWLP_USERDATA))) {
    case kTreeItemDataMarker:
      releaseTree(window);
      break;
    case kComboItemDataMarker:
      releaseCombo(window);
      break;
    case kListItemDataMarker:
      releaseList(window);
      break;
  }
  return TRUE;
}

}  // namespace

void releaseMarkedItemData(HWND window) noexcept {
  // EnumChildWindows walks the children of children as well.
  ::EnumChildWindows(window, &releaseIfMarked, 0);
}
