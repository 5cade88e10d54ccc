// A hidden window of the calling thread that receives a worker's envelopes,
// for a caller that has no dialog to show the worker: the demo installation,
// the tests of the envelope channel.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

#include "worker/ref_message.h"

class CEnvelopeWindow {
public:
  using Handler = std::function<LRESULT(XRefMessage&)>;

  // Every envelope goes to the handler, whose answer becomes the result of a
  // sent one.  Throws XExceptionDlg when the window cannot be made.
  explicit CEnvelopeWindow(Handler handler = [](XRefMessage&) -> LRESULT { return 1; });
  ~CEnvelopeWindow();
  CEnvelopeWindow(const CEnvelopeWindow&) = delete;
  CEnvelopeWindow& operator=(const CEnvelopeWindow&) = delete;

  HWND handle() const { return window_; }
  // Ends the window early; later envelopes find no receiver.
  void destroy();

  // How many envelopes arrived posted, and how many sent.
  int posted() const { return posted_; }
  int sent() const { return sent_; }

private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  Handler handler_;
  HWND window_ = nullptr;
  int posted_ = 0;
  int sent_ = 0;
};

// Dispatches the calling thread's messages until the condition holds or the
// time is up, waiting for new messages in between; answers the condition.
// The messages already queued when the condition first holds are dispatched
// too, so that posted reports of a worker that has just ended arrive.
bool pumpMessagesUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit);
