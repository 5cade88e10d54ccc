#include "frame/test_dialog.h"

#include <commctrl.h>

#include <stdexcept>

#include "app/exception.h"
#include "frame/data_exchange.h"

namespace frame_test {
namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

std::wstring textOf(HWND control) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

frame::CDialogTemplate makeTemplate(const wchar_t* caption) {
  frame::CDialogTemplate dialogTemplate(testDialogHeader(caption));
  for (const frame::CDialogTemplateItem& item : testDialogItems()) {
    dialogTemplate.addItem(item);
  }
  return dialogTemplate;
}

}  // namespace

std::wstring innerEndedText(INT_PTR result) { return L"The inner dialog ended with " + std::to_wstring(result); }

frame::CDialogTemplateHeader testDialogHeader(const wchar_t* caption) {
  return {.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
          .exStyle = WS_EX_CONTROLPARENT,
          .x = 20,
          .y = 20,
          .width = 220,
          .height = 110,
          .caption = caption,
          .font = {.pointSize = 8, .face = L"MS Shell Dlg"}};
}

std::vector<frame::CDialogTemplateItem> testDialogItems() {
  return {
      {.className = L"STATIC", .text = L"&Name:", .id = kLabelId, .style = kChild | SS_LEFT,
       .x = 7, .y = 9, .width = 40, .height = 8},
      {.className = L"EDIT", .id = kNameId, .style = kChild | WS_TABSTOP | ES_AUTOHSCROLL,
       .exStyle = WS_EX_CLIENTEDGE, .x = 50, .y = 7, .width = 163, .height = 14},
      {.className = L"STATIC", .id = kStatusId, .style = kChild | SS_LEFT, .x = 7, .y = 28, .width = 206,
       .height = 8},
      {.className = L"SysListView32", .id = kListId, .style = kChild | WS_TABSTOP | LVS_REPORT,
       .exStyle = WS_EX_CLIENTEDGE, .x = 7, .y = 40, .width = 206, .height = 40},
      {.className = L"BUTTON", .text = L"Fail", .id = kFailId, .style = kChild | WS_TABSTOP | BS_PUSHBUTTON,
       .x = 7, .y = 89, .width = 38, .height = 14},
      {.className = L"BUTTON", .text = L"Retry", .id = kRetryId, .style = kChild | WS_TABSTOP | BS_PUSHBUTTON,
       .x = 48, .y = 89, .width = 38, .height = 14},
      {.className = L"BUTTON", .text = L"Open", .id = kOpenId, .style = kChild | WS_TABSTOP | BS_PUSHBUTTON,
       .x = 89, .y = 89, .width = 38, .height = 14},
      {.className = L"BUTTON", .text = L"OK", .id = IDOK, .style = kChild | WS_TABSTOP | BS_DEFPUSHBUTTON,
       .x = 130, .y = 89, .width = 40, .height = 14},
      {.className = L"BUTTON", .text = L"Cancel", .id = IDCANCEL, .style = kChild | WS_TABSTOP | BS_PUSHBUTTON,
       .x = 173, .y = 89, .width = 40, .height = 14},
  };
}

void fail(Failure failure) {
  if (failure == Failure::FamilyMember) {
    throw XExceptionGeneral(kHandlerFailureText);
  }
  if (failure == Failure::Foreign) {
    throw std::runtime_error("outside the family");
  }
}

CTestDialog::CTestDialog(const wchar_t* caption) : template_(makeTemplate(caption)) {
  InitModalIndirect(template_.get());
}

INT_PTR CTestDialog::runOver(HWND owner) {
  InitModalIndirect(template_.get(), owner);
  return DoModal();
}

void CTestDialog::PreInitDialog() { hooks.push_back(L"pre-init"); }

bool CTestDialog::OnInitDialog() {
  hooks.push_back(L"init");
  fail(failInInit);
  ::SetDlgItemTextW(GetSafeHwnd(), kStatusId, kInitialisedText);
  return CDialog::OnInitDialog();
}

void CTestDialog::DoDataExchange(frame::CDataExchange* dx) {
  HWND field = GetDlgItem(kNameId);
  if (!dx->m_bSaveAndValidate) {
    hooks.push_back(L"load");
    ::SetWindowTextW(field, name.c_str());
    return;
  }
  hooks.push_back(L"save");
  const std::wstring text = textOf(field);
  if (nameRequired && text.empty()) {
    ::MessageBoxW(GetSafeHwnd(), kNameMissingText, kAppName, MB_OK | MB_ICONEXCLAMATION);
    dx->Fail();
  }
  name = text;
}

bool CTestDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kRetryId) {
    EndDialog(kRetryResult);
    return true;
  }
  if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kOpenId && inner) {
    const INT_PTR result = inner->runOver(GetSafeHwnd());
    ::SetDlgItemTextW(GetSafeHwnd(), kStatusId, innerEndedText(result).c_str());
    return true;
  }
  if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kFailId) {
    fail(failInButton);
    return true;
  }
  return CDialog::OnCommand(wParam, lParam);
}

bool CTestDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header->idFrom == kListId && header->code == NM_CLICK) {
    EndDialog(kListClickResult);
    *result = 0;
    return true;
  }
  return CDialog::OnNotify(wParam, lParam, result);
}

LRESULT CTestDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    hooks.push_back(L"nccreate");
  }
  if (message == kEchoMessage) {
    return static_cast<LRESULT>(wParam + 1);
  }
  return CDialog::WindowProc(message, wParam, lParam);
}

}  // namespace frame_test
