// The UI driver against message boxes of this process and of another one, and
// against a window with edit fields and buttons.
#include <gtest/gtest.h>

#include "harness/message_box_thread.h"
#include "harness/test_window.h"
#include "support/polling.h"
#include "support/process.h"
#include "support/ui_driver.h"

namespace {

using harness::CMessageBoxThread;
using harness::CTestWindow;

constexpr DWORD kGoneTimeoutMs = 5000;

struct CIconCase {
  UINT flags;
  ui::Icon icon;
};

const CIconCase kIconCases[] = {
    {MB_ICONERROR, ui::Icon::Error},
    {MB_ICONWARNING, ui::Icon::Warning},
    {MB_ICONINFORMATION, ui::Icon::Information},
    {MB_ICONQUESTION, ui::Icon::Question},
    {0, ui::Icon::None},
};

std::wstring showMessageExe() { return support::ownFolder() + L"\\harness_show_message.exe"; }

// --- A box of this process, shown by a helper thread -----------------------

TEST(MessageBoxOfThisProcess, ReadsTextButtonsAndIconAndOkClosesIt) {
  for (const CIconCase& c : kIconCases) {
    SCOPED_TRACE(ui::iconName(c.icon));
    CMessageBoxThread shown(L"Brantel", L"Something failed.\nTry again later.", MB_OK | c.flags);
    const auto box = ui::waitForMessageBox(L"Brantel");
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, L"Brantel");
    EXPECT_EQ(box->text, L"Something failed.\nTry again later.");
    EXPECT_EQ(box->icon, c.icon);
    EXPECT_EQ(box->buttons, std::vector<std::wstring>{L"OK"});
    ASSERT_TRUE(ui::clickControl(box->hwnd, L"OK"));
    EXPECT_TRUE(ui::waitWindowGone(box->hwnd, kGoneTimeoutMs));
    EXPECT_EQ(shown.waitResult(), IDOK);
  }
}

TEST(MessageBoxOfThisProcess, EachButtonAnswersWithItsOwnResultByMouseAndByMessage) {
  struct CCase {
    const wchar_t* button;
    ui::ClickBy how;
    int result;
  };
  const CCase cases[] = {
      {L"Yes", ui::ClickBy::Mouse, IDYES},
      {L"No", ui::ClickBy::Mouse, IDNO},
      {L"Yes", ui::ClickBy::Message, IDYES},
      {L"No", ui::ClickBy::Message, IDNO},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.button);
    CMessageBoxThread shown(L"Brantel", L"Update the installation?", MB_YESNO | MB_ICONQUESTION);
    const auto box = ui::waitForMessageBox(L"Brantel");
    ASSERT_TRUE(box);
    EXPECT_EQ(box->buttons, (std::vector<std::wstring>{L"Yes", L"No"}));
    ASSERT_TRUE(ui::clickControl(box->hwnd, c.button, c.how));
    EXPECT_TRUE(ui::waitWindowGone(box->hwnd, kGoneTimeoutMs));
    EXPECT_EQ(shown.waitResult(), c.result);
  }
}

TEST(MessageBoxOfThisProcess, AnotherCaptionIsNotFound) {
  CMessageBoxThread shown(L"Something else", L"text", MB_OK);
  ASSERT_NE(ui::waitForWindow({.caption = L"Something else"}), nullptr);
  EXPECT_FALSE(ui::waitForMessageBox(L"Brantel", 300));
}

// --- A box of another process: its icon is read from the screen ------------

TEST(MessageBoxOfAnotherProcess, ReadsTextAndIconAndOkEndsTheProcess) {
  for (const CIconCase& c : kIconCases) {
    SCOPED_TRACE(ui::iconName(c.icon));
    const support::CProcess process =
        support::startProcess(showMessageExe(), {L"Brantel", L"The download failed.", std::to_wstring(c.flags)});
    ASSERT_TRUE(process.started());
    const auto box = ui::waitForMessageBox(L"Brantel", 20000, process.id());
    if (!box) {
      process.terminate();
      FAIL() << "no message box";
    }
    EXPECT_EQ(box->text, L"The download failed.");
    EXPECT_EQ(box->icon, c.icon);
    EXPECT_EQ(ui::messageBoxIcon(box->hwnd), c.icon);
    EXPECT_TRUE(ui::clickControl(box->hwnd, L"OK"));
    const std::optional<DWORD> code = process.wait(10000);
    if (!code) {
      process.terminate();
    }
    EXPECT_EQ(code, std::optional<DWORD>(IDOK));
  }
}

TEST(MessageBoxOfAnotherProcess, TheProcessIdNarrowsTheSearch) {
  CMessageBoxThread own(L"Brantel", L"mine", MB_OK);
  ASSERT_TRUE(ui::waitForMessageBox(L"Brantel"));
  const support::CProcess process = support::startProcess(showMessageExe(), {L"Brantel", L"theirs", L"0"});
  ASSERT_TRUE(process.started());
  const auto theirs = ui::waitForMessageBox(L"Brantel", 20000, process.id());
  ASSERT_TRUE(theirs);
  EXPECT_EQ(theirs->text, L"theirs");
  EXPECT_EQ(ui::messageBoxText(ui::waitForWindow({L"Brantel", L"#32770", ::GetCurrentProcessId()})), L"mine");
  EXPECT_EQ(support::processIdsByImageName(L"HARNESS_show_message.exe"), std::vector<DWORD>{process.id()});
  EXPECT_TRUE(ui::clickControl(theirs->hwnd, L"OK", ui::ClickBy::Message));
  EXPECT_EQ(process.wait(10000), std::optional<DWORD>(IDOK));
  EXPECT_EQ(support::processIdsByImageName(L"harness_show_message.exe"), std::vector<DWORD>{});
}

// --- Controls: typing, and what can and cannot be clicked ------------------

TEST(Controls, ListsIdsClassesTextsAndStates) {
  CTestWindow window(L"Harness controls");
  ASSERT_EQ(ui::waitForWindow({.caption = L"Harness controls"}), window.hwnd());
  const auto apply = ui::findControl(window.hwnd(), harness::kApplyId);
  ASSERT_TRUE(apply);
  EXPECT_EQ(apply->className, L"Button");
  EXPECT_EQ(apply->text, L"&Apply");
  EXPECT_TRUE(apply->visible && apply->enabled);
  const auto disabled = ui::findControl(window.hwnd(), L"Disabled");
  ASSERT_TRUE(disabled);
  EXPECT_EQ(disabled->id, harness::kDisabledId);
  EXPECT_FALSE(disabled->enabled);
  const auto hidden = ui::findControl(window.hwnd(), harness::kHiddenId);
  ASSERT_TRUE(hidden);
  EXPECT_FALSE(hidden->visible);
  EXPECT_EQ(ui::findControl(window.hwnd(), L"Apply")->id, harness::kApplyId) << "mnemonics are ignored";
  EXPECT_FALSE(ui::findControl(window.hwnd(), 999));
}

TEST(Controls, TypedTextIsReadBackAndTheFieldsRulesApply) {
  CTestWindow window(L"Harness typing");
  ASSERT_NE(window.hwnd(), nullptr);
  struct CCase {
    int id;
    const wchar_t* typed;
    const wchar_t* shown;
  };
  const CCase cases[] = {
      {harness::kEditId, L"C:\\Program Files\\Brantel", L"C:\\Program Files\\Brantel"},
      {harness::kEditId, L"\x00e9t\x00e9 \x20ac", L"\x00e9t\x00e9 \x20ac"},  // replaces the text before
      {harness::kLimitedEditId, L"1234567890", L"12345"},
      {harness::kNumberEditId, L"12a3", L"123"},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.typed);
    ASSERT_TRUE(ui::typeText(window.hwnd(), c.id, c.typed));
    EXPECT_EQ(ui::windowText(::GetDlgItem(window.hwnd(), c.id)), c.shown);
  }
  EXPECT_FALSE(ui::typeText(window.hwnd(), 999, L"x"));
}

// Returns once every click sent to the window before has been handled.  A
// click by message is handled before the driver returns; a click by mouse
// travels through the window thread's input queue, in order, so once a later
// mouse click on the marker has been counted, any earlier click that was to
// come has come.
void awaitEarlierClicks(const CTestWindow& window) {
  const int before = window.clicks(harness::kMarkerId);
  ASSERT_TRUE(ui::clickControl(window.hwnd(), harness::kMarkerId, ui::ClickBy::Mouse));
  ASSERT_TRUE(ui::pollUntil(kGoneTimeoutMs, [&] { return window.clicks(harness::kMarkerId) > before; }))
      << "the marker's click never arrived";
}

TEST(Controls, OnlyWhatAPersonCouldClickIsClicked) {
  CTestWindow window(L"Harness clicks");
  ASSERT_NE(window.hwnd(), nullptr);
  struct CCase {
    int id;
    ui::ClickBy how;
    bool clicked;
  };
  const CCase cases[] = {
      {harness::kApplyId, ui::ClickBy::Mouse, true},
      {harness::kApplyId, ui::ClickBy::Message, true},
      {harness::kDisabledId, ui::ClickBy::Mouse, false},
      {harness::kDisabledId, ui::ClickBy::Message, false},
      {harness::kHiddenId, ui::ClickBy::Mouse, false},
      {harness::kHiddenId, ui::ClickBy::Message, false},
      {harness::kCoveredId, ui::ClickBy::Mouse, false},
      {harness::kCoveredId, ui::ClickBy::Message, true},  // the message reaches a covered button
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "control " << c.id << (c.how == ui::ClickBy::Mouse ? " by mouse" : " by message"));
    const int before = window.clicks(c.id);
    EXPECT_EQ(ui::clickControl(window.hwnd(), c.id, c.how), c.clicked);
    ASSERT_NO_FATAL_FAILURE(awaitEarlierClicks(window));
    EXPECT_EQ(window.clicks(c.id), before + (c.clicked ? 1 : 0));
  }
  const int before = window.clicks(harness::kApplyId);
  EXPECT_TRUE(ui::clickControl(window.hwnd(), L"Apply")) << "by its text without the mnemonic";
  EXPECT_TRUE(ui::pollUntil(kGoneTimeoutMs, [&] { return window.clicks(harness::kApplyId) > before; }));
  ASSERT_NO_FATAL_FAILURE(awaitEarlierClicks(window));
  EXPECT_EQ(window.clicks(harness::kApplyId), before + 1);
}

}  // namespace
