// A dialog on the frame layer with one of each thing its tests look at: a
// label, a name field, a status line, a list, a button that fails, one with
// a result of its own, OK (the default button) and Cancel.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "frame/dialog.h"
#include "frame/dialog_template.h"

namespace frame_test {

inline constexpr wchar_t kAppName[] = L"Frame Test";
inline constexpr wchar_t kDialogCaption[] = L"Frame Test Dialog";
inline constexpr int kLabelId = 100;
inline constexpr int kNameId = 101;
inline constexpr int kStatusId = 102;
inline constexpr int kListId = 103;
inline constexpr int kFailId = 104;
inline constexpr int kRetryId = 105;
inline constexpr int kOpenId = 106;
inline constexpr int kRetryResult = 42;
inline constexpr int kListClickResult = 43;
// Answered with wParam + 1.
inline constexpr UINT kEchoMessage = WM_APP + 7;
inline constexpr wchar_t kInitialisedText[] = L"Initialised by the dialog";
inline constexpr wchar_t kNameMissingText[] = L"Please enter a name";
inline constexpr wchar_t kHandlerFailureText[] = L"The handler failed on purpose";
inline constexpr wchar_t kInnerCaption[] = L"Frame Test Inner Dialog";
// The status line once a dialog opened by the Open button has ended.
std::wstring innerEndedText(INT_PTR result);

// The header and items of the dialog, for the tests that compare the window
// with what the template asked for.
frame::CDialogTemplateHeader testDialogHeader(const wchar_t* caption = kDialogCaption);
std::vector<frame::CDialogTemplateItem> testDialogItems();

enum class Failure { None, FamilyMember, Foreign };

class CTestDialog : public frame::CDialog {
public:
  explicit CTestDialog(const wchar_t* caption = kDialogCaption);

  // Runs the dialog modally over another window.
  INT_PTR runOver(HWND owner);

  // Set before DoModal.
  std::wstring name;  // loaded into the name field, saved from it
  bool nameRequired = false;
  Failure failInButton = Failure::None;  // what the Fail button throws
  Failure failInInit = Failure::None;
  // The dialog that the Open button runs over this one.
  CTestDialog* inner = nullptr;

  // What the hooks saw, in order; read once DoModal has returned.
  std::vector<std::wstring> hooks;

protected:
  void PreInitDialog() override;
  bool OnInitDialog() override;
  void DoDataExchange(frame::CDataExchange* dx) override;
  bool OnCommand(WPARAM wParam, LPARAM lParam) override;
  bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  frame::CDialogTemplate template_;
};

// Throws the kind of failure asked for.
void fail(Failure failure);

}  // namespace frame_test
