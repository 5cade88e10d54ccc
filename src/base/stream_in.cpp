#include "base/stream_in.h"

#include "app/exception.h"

char16_t XStreamIn::nextChar() {
  if (readIndex_ != fillIndex_) {
    readIndex_ = (readIndex_ + 1) % kRingSize;
    return ring_[readIndex_];
  }
  char16_t c = decoder_(*this);
  readIndex_ = fillIndex_ = (readIndex_ + 1) % kRingSize;
  ring_[readIndex_] = c;
  return c;
}

bool XStreamIn::nextCharOrEnd(char16_t& out) {
  try {
    out = nextChar();
    return true;
  } catch (const EOS&) {
    return false;
  } catch (const XException&) {
    return false;
  }
}

char16_t XStreamIn::nextNonBlank() {
  char16_t c = nextChar();
  while (isBlank(c)) {
    c = nextChar();
  }
  return c;
}

void XStreamIn::pushBack(std::uint32_t count) noexcept {
  readIndex_ = (readIndex_ + kRingSize - count % kRingSize) % kRingSize;
}

bool XStreamIn::atDoubleDash() {
  if (nextChar() != u'-') {
    pushBack(1);
    return false;
  }
  if (nextChar() != u'-') {
    pushBack(2);
    return false;
  }
  return true;
}

void XStreamIn::setDecoder(Decoding decoding) noexcept {
  decoder_ = decoding == Decoding::Utf8 ? &decodeUtf8 : &decodeSingleByte;
}

char16_t XStreamIn::decodeSingleByte(XStreamIn& stream) { return stream.takeByte(); }

// One, two or three bytes per character.  Continuation bytes are taken as
// they come; a lead byte that starts no such sequence (a continuation byte, or
// the lead of a four-byte sequence) ends the input.
char16_t XStreamIn::decodeUtf8(XStreamIn& stream) {
  const std::uint32_t lead = stream.takeByte();
  if (lead < 0x80) {
    return static_cast<char16_t>(lead);
  }
  if ((lead & 0xE0) == 0xC0) {
    const std::uint32_t b2 = stream.takeByte();
    return static_cast<char16_t>(((lead & 0x1F) << 6) | (b2 & 0x3F));
  }
  if ((lead & 0xF0) == 0xE0) {
    const std::uint32_t b2 = stream.takeByte();
    const std::uint32_t b3 = stream.takeByte();
    return static_cast<char16_t>(((lead << 12) | ((b2 & 0x3F) << 6) | (b3 & 0x3F)) & 0xFFFF);
  }
  throw EOS{&stream};
}
