// The payloads that workers report to windows, one class per kind, each
// naming its kind with a GUID.  Every kind can be posted or sent; the table
// of who uses which way lives with the workers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>

#include "base/version.h"
#include "base/guid.h"
#include "base/ref_object.h"
#include "base/ref_ptr.h"
#include "worker/ref_message.h"

// Post, send and recognise the envelopes of one kind.  Kind names its GUID
// kKind and its payload class CMessage.
template <class Kind>
class TMessageKind {
public:
  template <class Payload>
  static void post(HWND window, const TRefPtr<Payload>& payload) {
    static_assert(std::is_base_of_v<typename Kind::CMessage, Payload>);
    envelope::post(window, Kind::kKind, payload);
  }
  template <class Payload>
  static LRESULT send(HWND window, const TRefPtr<Payload>& payload) {
    static_assert(std::is_base_of_v<typename Kind::CMessage, Payload>);
    return envelope::send(window, Kind::kKind, payload);
  }

  static bool is(const XRefMessage& message) noexcept { return message.kind() == Kind::kKind; }
  // The payload of an envelope of this kind; empty for another kind.
  static auto payloadOf(const XRefMessage& message) {
    using Payload = typename Kind::CMessage;
    return is(message) ? staticRefCast<Payload>(message.payload()) : TRefPtr<Payload>();
  }
};

// Progress of a worker; a window that answers 0 asks the worker to stop.
class XMessageProgress : public TMessageKind<XMessageProgress> {
public:
  static constexpr CGuid kKind{0x190DEE40, 0xD0EA, 0x4FDD, {0x8A, 0xEF, 0xC7, 0x52, 0x2C, 0x01, 0xAD, 0x61}};
  class CMessage : public CBaseRefObject {
  public:
    CMessage(std::int64_t atPosition, std::int64_t ofRange) : position(atPosition), range(ofRange) {}
    std::int64_t position;
    std::int64_t range;
  };
};

// A failure, as the text the window shows.
class XMessageError : public TMessageKind<XMessageError> {
public:
  static constexpr CGuid kKind{0x2A93585F, 0xFFCD, 0x0B4C, {0x9D, 0x39, 0xE9, 0x28, 0x9D, 0x05, 0x48, 0x53}};
  class CMessage : public CBaseRefObject {
  public:
    explicit CMessage(std::wstring errorText) : text(std::move(errorText)) {}
    std::int32_t code = 0;
    std::wstring text;
  };
};

// The file name a worker proposes for saving.
class XMessageQueryFileName : public TMessageKind<XMessageQueryFileName> {
public:
  static constexpr CGuid kKind{0x4E64417E, 0x9271, 0xC8D1, {0x60, 0xB3, 0xE9, 0xA0, 0x3F, 0x93, 0x74, 0xDA}};
  class CMessage : public CBaseRefObject {
  public:
    explicit CMessage(std::wstring proposedName) : fileName(std::move(proposedName)) {}
    std::wstring fileName;
  };
};

namespace setup {

// The downloaded temporary file; the window takes it over when it answers
// other than 0.
class XMessageDownloadDone : public TMessageKind<XMessageDownloadDone> {
public:
  static constexpr CGuid kKind{0xD5950DFB, 0x64F0, 0xBDD9, {0xD0, 0xF4, 0x1C, 0x4E, 0x46, 0x25, 0xD9, 0x19}};
  class CMessage : public CBaseRefObject {
  public:
    explicit CMessage(std::wstring temporaryPath) : path(std::move(temporaryPath)) {}
    std::wstring path;
  };
};

// The answer of the update server: whether one was received, and the latest
// version it named.
class XMessageVersionCheckDone : public TMessageKind<XMessageVersionCheckDone> {
public:
  static constexpr CGuid kKind{0xF2C5BED7, 0x2230, 0x8E92, {0x14, 0xBE, 0xAA, 0x73, 0x39, 0xF7, 0xE9, 0x29}};
  class CMessage : public CBaseRefObject {
  public:
    CMessage(bool wasReceived, const CVersion& latestVersion, bool alternateInUse = false)
        : received(wasReceived), alternateServer(alternateInUse), latest(latestVersion) {}
    bool received;
    // The server's answer came through an address it taught an earlier check;
    // read, like the version, only when received.
    bool alternateServer;
    CVersion latest;
  };
};

// The outcome of an installation run.
class XMessageInstallDone : public TMessageKind<XMessageInstallDone> {
public:
  static constexpr CGuid kKind{0x318BF15C, 0x8A66, 0x7C51, {0xDD, 0xA7, 0x72, 0x29, 0xE9, 0x0B, 0xFA, 0xEE}};
  class CMessage : public CBaseRefObject {
  public:
    CMessage(bool needsRestart, std::wstring directory, std::wstring mainProgram)
        : restartNeeded(needsRestart), installationDirectory(std::move(directory)), mainProgramPath(std::move(mainProgram)) {}
    bool restartNeeded;
    std::wstring installationDirectory;
    std::wstring mainProgramPath;
  };
};

}  // namespace setup
