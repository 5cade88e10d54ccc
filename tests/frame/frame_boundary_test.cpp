// The interface thread's error boundary and apartment, in a program built on
// the frame layer's own entry (frame_probe.exe), watched as a person sees it.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <string>
#include <vector>

#include "frame/failure_report.h"
#include "frame/probe_codes.h"
#include "support/process.h"
#include "support/ui_driver.h"

namespace {

constexpr DWORD kLimitMs = 30000;  // a first start in a fresh prefix is slow
constexpr DWORD kFailedExitCode = 1;

std::wstring probeExe() { return support::ownFolder() + L"\\frame_probe.exe"; }

// Ends a probe left behind by a failed check.
struct CProbeGuard {
  const support::CProcess& process;
  ~CProbeGuard() {
    if (!process.wait(0)) {
      process.terminate();
    }
  }
};

TEST(FrameBoundary, AFailureLeavingTheStartUpHookIsShownAndEndsTheProgram) {
  struct CCase {
    const wchar_t* mode;
    const wchar_t* text;
  };
  const CCase cases[] = {
      {L"family", kProbeFamilyFailure},
      {L"foreign", frame::kUnexpectedFailureText},
      {L"app-text", kProbeAppFailureText},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.mode);
    const support::CProcess probe = support::startProcess(probeExe(), {c.mode});
    ASSERT_TRUE(probe.started());
    const CProbeGuard guard{probe};

    const auto box = ui::waitForMessageBox(kProbeAppName, kLimitMs, probe.id());
    ASSERT_TRUE(box) << "no message box";
    EXPECT_EQ(box->caption, kProbeAppName);
    EXPECT_EQ(box->text, c.text);
    EXPECT_EQ(box->icon, ui::Icon::Error);
    EXPECT_EQ(box->buttons, std::vector<std::wstring>{L"OK"});

    ASSERT_TRUE(ui::clickControl(box->hwnd, L"OK"));
    EXPECT_EQ(probe.wait(kLimitMs), kFailedExitCode);
  }
}

TEST(FrameBoundary, AWindowProcedureReportsThroughTheSameBoundaryOverItsWindow) {
  const support::CProcess probe = support::startProcess(probeExe(), {L"window"});
  ASSERT_TRUE(probe.started());
  const CProbeGuard guard{probe};

  const HWND window = ui::waitForWindow({.caption = kProbeWindowCaption, .processId = probe.id()}, kLimitMs);
  ASSERT_NE(window, nullptr);
  const auto box = ui::waitForMessageBox(kProbeAppName, kLimitMs, probe.id());
  ASSERT_TRUE(box) << "no message box";
  EXPECT_EQ(box->text, kProbeWindowFailure);
  EXPECT_EQ(box->icon, ui::Icon::Error);
  EXPECT_EQ(::GetWindow(box->hwnd, GW_OWNER), window);

  // The window goes on after the report: it closes itself and the program
  // ends normally.
  ASSERT_TRUE(ui::clickControl(box->hwnd, L"OK"));
  EXPECT_EQ(probe.wait(kLimitMs), 0u);
}

TEST(FrameApartment, ThePictureDecodedAtStartUpLeavesTheInterfaceThreadSingleThreaded) {
  const std::optional<DWORD> exitCode = support::runProcess(probeExe(), {L"apartment"}, kLimitMs);
  ASSERT_TRUE(exitCode) << "the probe did not end";
  ASSERT_NE(*exitCode, static_cast<DWORD>(kPictureNotDecoded));
  ASSERT_NE(*exitCode, static_cast<DWORD>(kNoApartment));
  const DWORD type = *exitCode - kApartmentReport;
  EXPECT_TRUE(type == APTTYPE_MAINSTA || type == APTTYPE_STA) << "apartment type " << type;
}

}  // namespace
