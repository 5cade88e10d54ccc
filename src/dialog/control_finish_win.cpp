#include "dialog/control_finish_win.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "dialog/control_factory_win.h"
#include "dialog/list_columns.h"
#include "dialog/mnemonics.h"

namespace {

HWND controlWithId(const DialogModel& model, const std::wstring& id) {
  for (const DialogNodePtr& control : model.controls) {
    const std::wstring* own = control->attribute(L"id");
    if (own && *own == id) {
      return control->window;
    }
  }
  return nullptr;
}

std::wstring windowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

bool isButtonKind(const CDialogNode& node) {
  return node.is(L"checkbox") || node.is(L"radio") || node.is(L"button");
}

// A label's mnemonic is off only when `amp` is exactly "0".
bool mnemonicAllowed(const CDialogNode& label) { return label.attributeOr(L"amp", L"") != L"0"; }

std::vector<HWND> mnemonicOrder(const DialogModel& model, std::vector<CMnemonicCandidate>& candidates) {
  std::vector<HWND> windows;
  const auto add = [&](const CDialogNode& node, bool enabled) {
    windows.push_back(node.window);
    candidates.push_back({windowText(node.window), enabled});
  };
  for (const DialogNodePtr& control : model.controls) {
    if (isButtonKind(*control) && control->hasAttribute(L"dialog-id")) {
      add(*control, true);
    }
  }
  for (const DialogNodePtr& label : model.labels) {
    add(*label, mnemonicAllowed(*label));
  }
  for (const DialogNodePtr& control : model.controls) {
    if (isButtonKind(*control) && !control->hasAttribute(L"dialog-id")) {
      add(*control, true);
    }
  }
  return windows;
}

void insertColumn(HWND list, int index, const std::wstring& header, int width) {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.pszText = const_cast<wchar_t*>(header.c_str());
  column.cx = width;
  column.iSubItem = index;
  ::SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

}  // namespace

void bindLabels(const DialogModel& model) {
  constexpr UINT kOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  for (const DialogNodePtr& label : model.labels) {
    const std::wstring* target = label->attribute(L"for");
    const HWND control = target ? controlWithId(model, *target) : nullptr;
    if (!control) {
      continue;
    }
    const HWND before = ::GetWindow(control, GW_HWNDPREV);
    if (before == label->window) {
      continue;
    }
    ::SetWindowPos(label->window, before ? before : HWND_BOTTOM, 0, 0, 0, 0, kOrderOnly);
  }
}

void addListColumns(const DialogModel& model) {
  for (const DialogNodePtr& control : model.controls) {
    if (!control->is(L"list")) {
      continue;
    }
    std::vector<std::wstring> headers;
    for (DialogNodePtr child = control->firstChild(); child; child = child->nextSibling()) {
      if (child->is(L"column")) {
        headers.push_back(elementText(*child));
      }
    }
    RECT client{};
    ::GetClientRect(control->window, &client);
    const std::vector<std::int32_t> widths =
        sharedColumnWidths(client.right - client.left - ::GetSystemMetrics(SM_CXVSCROLL), headers.size());
    for (std::size_t i = 0; i < headers.size(); ++i) {
      insertColumn(control->window, static_cast<int>(i), headers[i], widths[i]);
    }
  }
}

void assignMnemonics(const DialogModel& model) {
  std::vector<CMnemonicCandidate> candidates;
  const std::vector<HWND> windows = mnemonicOrder(model, candidates);
  const std::vector<std::wstring> texts = withMnemonics(candidates);
  for (std::size_t i = 0; i < windows.size(); ++i) {
    if (texts[i] != candidates[i].text) {
      ::SetWindowTextW(windows[i], texts[i].c_str());
    }
  }
}
