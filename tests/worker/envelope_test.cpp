// The envelope channel between workers and windows, with real windows: what
// arrives, how it is answered, and that every payload is freed exactly once
// whichever way the window went.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/version.h"
#include "base/guid.h"
#include "support/ui_driver.h"
#include "test_window.h"
#include "worker/messages.h"
#include "worker/ref_thread.h"

struct CRefCountProbe {
  static std::int32_t count(const CBaseRefObject& object) { return object.refcount_.load(); }
};

namespace {

class EnvelopeChannel : public ::testing::Test {
protected:
  void SetUp() override { CPayloadCount::reset(); }
};

// Runs the function on a worker thread and waits for it to end while the
// calling thread keeps dispatching messages (the worker may send to a window
// of the calling thread).
template <class Function>
void onWorker(Function function) {
  struct CWorker : XRefThread {
    explicit CWorker(Function f) : work(std::move(f)) {}
    std::int32_t run() override {
      work();
      return 0;
    }
    Function work;
  };
  const TRefPtr<CWorker> worker = makeRef<CWorker>(std::move(function));
  worker->start();
  ASSERT_TRUE(pumpMessagesUntil([&] { return worker->finished(); }, kReportLimit));
}

TEST_F(EnvelopeChannel, TheMessageIsRegisteredUnderThirtyTwoLettersFromAToP) {
  const std::wstring name = envelope::messageName();
  ASSERT_EQ(name.size(), 32u);
  for (const wchar_t letter : name) {
    EXPECT_TRUE(letter >= L'A' && letter <= L'P') << static_cast<int>(letter);
  }
  const UINT number = envelope::message();
  EXPECT_GE(number, 0xC000u);  // the range of registered messages
  EXPECT_EQ(number, ::RegisterWindowMessageW(name.c_str()));
  EXPECT_EQ(number, envelope::message());
}

TEST_F(EnvelopeChannel, EveryKindCarriesItsOwnGuid) {
  struct CKindCase {
    CGuid kind;
    const wchar_t* text;
  };
  const CKindCase cases[] = {
      {XMessageProgress::kKind, L"{190DEE40-D0EA-4FDD-8AEF-C7522C01AD61}"},
      {XMessageError::kKind, L"{2A93585F-FFCD-0B4C-9D39-E9289D054853}"},
      {XMessageQueryFileName::kKind, L"{4E64417E-9271-C8D1-60B3-E9A03F9374DA}"},
      {setup::XMessageDownloadDone::kKind, L"{D5950DFB-64F0-BDD9-D0F4-1C4E4625D919}"},
      {setup::XMessageVersionCheckDone::kKind, L"{F2C5BED7-2230-8E92-14BE-AA7339F7E929}"},
      {setup::XMessageInstallDone::kKind, L"{318BF15C-8A66-7C51-DDA7-7229E90BFAEE}"},
  };
  for (const CKindCase& c : cases) {
    EXPECT_EQ(formatGuid(c.kind, GuidStyle::BracedUpper), c.text);
  }
}

TEST_F(EnvelopeChannel, APostFromAWorkerArrivesOnceAndIsFreedAfterHandling) {
  std::vector<std::wstring> texts;
  std::vector<std::int64_t> positions;
  CEnvelopeWindow window([&](XRefMessage& message) -> LRESULT {
    if (auto error = XMessageError::payloadOf(message)) {
      EXPECT_FALSE(XMessageProgress::payloadOf(message));
      texts.push_back(error->text);
      EXPECT_EQ(error->code, 0);
    } else if (auto progress = XMessageProgress::payloadOf(message)) {
      positions.push_back(progress->position);
      EXPECT_EQ(progress->range, 100);
    }
    return 1;
  });
  ASSERT_NE(window.handle(), nullptr);
  const HWND target = window.handle();

  onWorker([target] {
    XMessageError::post(target, makeCounted<XMessageError::CMessage>(L"Disk full"));
    XMessageProgress::post(target, makeCounted<XMessageProgress::CMessage>(40, 100));
  });
  EXPECT_EQ(CPayloadCount::made(), 2);
  ASSERT_TRUE(pumpMessagesUntil([&] { return window.posted() == 2; }, kReportLimit));

  EXPECT_EQ(texts, std::vector<std::wstring>{L"Disk full"});
  EXPECT_EQ(positions, std::vector<std::int64_t>{40});
  EXPECT_EQ(window.sent(), 0);
  EXPECT_EQ(CPayloadCount::destroyed(), 2);
}

TEST_F(EnvelopeChannel, APostToADestroyedWindowIsFreedAtOnce) {
  CEnvelopeWindow window;
  const HWND gone = window.handle();
  window.destroy();

  const auto payload = makeCounted<setup::XMessageInstallDone::CMessage>(true, L"C:\\Brantel", L"C:\\Brantel\\b.exe");
  setup::XMessageInstallDone::post(gone, payload);
  EXPECT_EQ(CRefCountProbe::count(*payload), 1);  // the envelope let go of it
  EXPECT_EQ(CPayloadCount::alive(), 1);
}

TEST_F(EnvelopeChannel, EnvelopesStillQueuedForAClosingWindowAreGivenBack) {
  CEnvelopeWindow window;
  for (int i = 0; i < 3; ++i) {
    XMessageQueryFileName::post(window.handle(), makeCounted<XMessageQueryFileName::CMessage>(L"setup.exe"));
  }
  ::PostMessageW(window.handle(), WM_USER, 0, 0);  // not ours: left alone
  EXPECT_EQ(CPayloadCount::alive(), 3);

  EXPECT_EQ(envelope::dropPending(window.handle()), 3);
  EXPECT_EQ(CPayloadCount::alive(), 0);
  MSG other;
  EXPECT_TRUE(::PeekMessageW(&other, window.handle(), WM_USER, WM_USER, PM_REMOVE));
  EXPECT_EQ(window.posted(), 0);
}

TEST_F(EnvelopeChannel, ASendFromAWorkerWaitsForTheWindowsAnswer) {
  CEnvelopeWindow window([](XRefMessage& message) -> LRESULT {
    const auto done = setup::XMessageVersionCheckDone::payloadOf(message);
    if (!done) {
      return 0;
    }
    // The sender still holds the payload while the window looks at it.
    EXPECT_GE(CRefCountProbe::count(*done), 2);
    return done->received ? static_cast<LRESULT>(done->latest.fourth) : -1;
  });
  const HWND target = window.handle();

  LRESULT answer = 0;
  LRESULT answerToOtherKind = -5;
  onWorker([&, target] {
    answer = setup::XMessageVersionCheckDone::send(
        target, makeCounted<setup::XMessageVersionCheckDone::CMessage>(true, CVersion{2, 1, 0, 77}));
    answerToOtherKind =
        setup::XMessageDownloadDone::send(target, makeCounted<setup::XMessageDownloadDone::CMessage>(L"t.tmp"));
  });

  EXPECT_EQ(answer, 77);
  EXPECT_EQ(answerToOtherKind, 0);
  EXPECT_EQ(window.sent(), 2);
  EXPECT_EQ(window.posted(), 0);
  EXPECT_EQ(CPayloadCount::made(), 2);
  EXPECT_EQ(CPayloadCount::alive(), 0);
}

TEST_F(EnvelopeChannel, ASendToAVanishedWindowAnswersZero) {
  CEnvelopeWindow window([](XRefMessage&) -> LRESULT { return 9; });
  const HWND gone = window.handle();
  window.destroy();

  LRESULT answer = -1;
  onWorker([&] { answer = XMessageProgress::send(gone, makeCounted<XMessageProgress::CMessage>(1, 2)); });
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(CPayloadCount::made(), 1);
  EXPECT_EQ(CPayloadCount::alive(), 0);
}

TEST_F(EnvelopeChannel, ThePostedReferenceIsGivenBackWhenTheHandlerThrows) {
  const auto payload = makeCounted<XMessageError::CMessage>(L"x");
  const TRefPtr<XRefMessage> envelopeHeld = makeRef<XRefMessage>(XMessageError::kKind, payload);
  envelopeHeld->addRef();  // the reference that travels with a posted envelope
  const auto lParam = reinterpret_cast<LPARAM>(envelopeHeld.get());

  EXPECT_THROW(envelope::receive(envelope::kPosted, lParam, [](XRefMessage&) -> LRESULT { throw 1; }), int);
  EXPECT_EQ(CRefCountProbe::count(*envelopeHeld), 1);

  // Another wParam is not an envelope: no call, no release.
  bool called = false;
  EXPECT_FALSE(envelope::receive(5, lParam, [&](XRefMessage&) -> LRESULT {
                 called = true;
                 return 1;
               }).has_value());
  EXPECT_FALSE(called);
  EXPECT_EQ(CRefCountProbe::count(*envelopeHeld), 1);
}

TEST_F(EnvelopeChannel, AHandlersFailureIsShownAndTheWindowGoesOn) {
  // The test program has no application object: the box has the system's
  // caption.  Another thread reads and answers it as a user would.
  std::optional<ui::CMessageBox> seen;
  std::thread user([&seen] {
    seen = ui::waitForMessageBox(L"Error", 10000, ::GetCurrentProcessId());
    if (seen) {
      ui::clickControl(seen->hwnd, L"OK");
    }
  });
  int handled = 0;
  CEnvelopeWindow window([&handled](XRefMessage&) -> LRESULT {
    if (++handled == 1) {
      throw XExceptionGeneral(L"The report could not be shown");
    }
    return 1;
  });
  onWorker([&] {
    XMessageError::post(window.handle(), makeCounted<XMessageError::CMessage>(L"first"));
    XMessageError::post(window.handle(), makeCounted<XMessageError::CMessage>(L"second"));
  });
  EXPECT_TRUE(pumpMessagesUntil([&] { return handled == 2; }, kReportLimit));
  user.join();

  ASSERT_TRUE(seen) << "no message box";
  EXPECT_EQ(seen->text, L"The report could not be shown");
  EXPECT_EQ(seen->icon, ui::Icon::Error);
  EXPECT_EQ(CPayloadCount::alive(), 0);
}

}  // namespace
