#include "worker/ref_message.h"

#include <array>
#include <cstdint>

namespace envelope {

namespace {

// The fixed value behind the message name.  Any fixed value serves; this one
// is the setup's own.
constexpr std::array<std::uint8_t, 16> kNameValue = {0x5B, 0x0E, 0x93, 0xC4, 0x27, 0xD1, 0x6A, 0xF8,
                                                     0x3C, 0x81, 0xE5, 0x0D, 0x74, 0xB9, 0x12, 0xAF};

TRefPtr<XRefMessage> newEnvelope(const CGuid& kind, TRefPtr<CBaseRefObject> payload) {
  return makeRef<XRefMessage>(kind, std::move(payload));
}

}  // namespace

std::wstring messageName() {
  std::wstring name;
  for (const std::uint8_t byte : kNameValue) {
    name += static_cast<wchar_t>(L'A' + (byte >> 4));
    name += static_cast<wchar_t>(L'A' + (byte & 0x0F));
  }
  return name;
}

UINT message() {
  static const UINT registered = ::RegisterWindowMessageW(messageName().c_str());
  return registered;
}

void post(HWND window, const CGuid& kind, TRefPtr<CBaseRefObject> payload) {
  const TRefPtr<XRefMessage> sender = newEnvelope(kind, std::move(payload));
  if (message() == 0 || !::IsWindow(window)) {
    return;
  }
  TRefPtr<XRefMessage> receivers = sender;
  if (::PostMessageW(window, message(), kPosted, reinterpret_cast<LPARAM>(receivers.get()))) {
    receivers.detach();  // the receiver gives it back
  }
}

LRESULT send(HWND window, const CGuid& kind, TRefPtr<CBaseRefObject> payload) {
  const TRefPtr<XRefMessage> sender = newEnvelope(kind, std::move(payload));
  if (message() == 0 || !::IsWindow(window)) {
    return 0;
  }
  const TRefPtr<XRefMessage> duringCall = sender;
  return ::SendMessageW(window, message(), kSent, reinterpret_cast<LPARAM>(duringCall.get()));
}

int dropPending(HWND window) {
  int dropped = 0;
  const UINT number = message();
  if (number == 0) {
    return 0;  // a filter of 0 to 0 would take every message
  }
  MSG pending;
  while (::PeekMessageW(&pending, window, number, number, PM_REMOVE)) {
    if (pending.wParam == kPosted && pending.lParam != 0) {
      TRefPtr<XRefMessage>::adopt(reinterpret_cast<XRefMessage*>(pending.lParam)).reset();
      ++dropped;
    }
  }
  return dropped;
}

}  // namespace envelope
