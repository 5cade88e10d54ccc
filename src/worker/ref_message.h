// The envelope in which workers hand reports to windows.
//
// One registered window message carries every envelope: wParam says whether
// it was posted (the receiver owns one reference and releases it) or sent
// (the sender waits and keeps its reference), lParam is the envelope.  The
// envelope names the kind of its payload with a GUID; the payload classes and
// the post and send functions of each kind are in worker/messages.h.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "base/guid.h"
#include "base/ref_object.h"
#include "base/ref_ptr.h"

class XRefMessage : public CBaseRefObject {
public:
  XRefMessage(const CGuid& kind, TRefPtr<CBaseRefObject> payload) : kind_(kind), payload_(std::move(payload)) {}

  const CGuid& kind() const noexcept { return kind_; }
  const TRefPtr<CBaseRefObject>& payload() const noexcept { return payload_; }

private:
  CGuid kind_;
  TRefPtr<CBaseRefObject> payload_;
};

namespace envelope {

inline constexpr WPARAM kPosted = 0x78F0C0E6;
inline constexpr WPARAM kSent = 0x262D4E0B;

// The name under which the message is registered: 32 letters from 'A' to
// 'P', one for each half of each byte of a fixed 16-byte value.
std::wstring messageName();
// The message number, registered with the system on first use and the same
// for the whole process (0 when the system refused).
UINT message();

// Posts the envelope: when the window exists it travels with a reference of
// its own that the receiver gives back; otherwise, or when the post fails,
// that reference is dropped at once.
void post(HWND window, const CGuid& kind, TRefPtr<CBaseRefObject> payload);
// Delivers the envelope and waits for the window's answer; 0 when the window
// does not exist.
LRESULT send(HWND window, const CGuid& kind, TRefPtr<CBaseRefObject> payload);

// The receiving side, for the window procedure.  For an envelope message
// (wParam kPosted or kSent) calls the handler with the envelope and answers
// its result; a posted envelope's reference is given back afterwards, also
// when the handler throws.  Any other wParam: nothing, and no answer.
template <class Handler>
std::optional<LRESULT> receive(WPARAM wParam, LPARAM lParam, Handler&& handler) {
  auto* envelope = reinterpret_cast<XRefMessage*>(lParam);
  if (wParam == kPosted) {
    const TRefPtr<XRefMessage> travelled = TRefPtr<XRefMessage>::adopt(envelope);
    return handler(travelled.ref());
  }
  if (wParam == kSent) {
    const TRefPtr<XRefMessage> borrowed = TRefPtr<XRefMessage>::share(envelope);
    return handler(borrowed.ref());
  }
  return std::nullopt;
}

// Gives back the references of the envelopes still posted to a window that
// is being destroyed; called from its destroy handling on its own thread.
// Answers how many there were.
int dropPending(HWND window);

}  // namespace envelope
