// Input streams: a byte source with a switchable character layer.
//
// The character layer decodes bytes into UTF-16 code units (single-byte or
// UTF-8) and keeps the last 32 of them in a ring, so that the XML parser can
// look ahead and step back over up to 31 characters without touching the byte
// source again.  The units are char16_t in both trees.
#pragma once

#include "base/text.h"

#include <array>
#include <cstdint>

class XStreamIn {
public:
  // The end of the input (also a byte sequence the UTF-8 decoder refuses, and
  // a step back that is not possible).  A signal, not an XException.
  struct EOS {
    const XStreamIn* stream;
  };

  enum class Decoding { SingleByte, Utf8 };

  XStreamIn() noexcept = default;
  XStreamIn(const XStreamIn&) = delete;
  XStreamIn& operator=(const XStreamIn&) = delete;
  virtual ~XStreamIn() = default;

  // The next byte, or EOS at the end.
  virtual std::uint8_t readByte() = 0;
  // Steps back one byte, or raises EOS when that is not possible.
  virtual void unreadByte() = 0;

  // The next character: a pushed-back one if any is waiting, else a newly
  // decoded one.
  char16_t nextChar();
  // Like nextChar, but false instead of any failure of the source.
  bool nextCharOrEnd(char16_t& out);
  // nextChar, skipping tab, line feed, carriage return and space.
  char16_t nextNonBlank();
  // The next count calls of nextChar return the last count characters again
  // (at most 31).
  void pushBack(std::uint32_t count) noexcept;
  // True when the next two characters are "--"; otherwise reads nothing.
  bool atDoubleDash();

  // Applies to the characters decoded from now on.
  void setDecoder(Decoding decoding) noexcept;

  static bool isBlank(char16_t c) noexcept { return isBlankIn(static_cast<wchar_t>(c), kXmlBlanks); }

protected:
  // The bytes the source has ready in memory.  The decoders take bytes from
  // here without a virtual call and call readByte only when it is used up;
  // sources keep their own position in it.
  const std::uint8_t* windowNext_ = nullptr;
  const std::uint8_t* windowEnd_ = nullptr;

private:
  std::uint8_t takeByte() { return windowNext_ != windowEnd_ ? *windowNext_++ : readByte(); }

  using Decoder = char16_t (*)(XStreamIn&);
  static char16_t decodeSingleByte(XStreamIn& stream);
  static char16_t decodeUtf8(XStreamIn& stream);

  static constexpr std::uint32_t kRingSize = 32;

  Decoder decoder_ = &decodeSingleByte;
  std::array<char16_t, kRingSize> ring_{};
  std::uint32_t fillIndex_ = 0;
  std::uint32_t readIndex_ = 0;
};
