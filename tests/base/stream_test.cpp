// The byte streams and their character layer, and the buffered output
// stream with its UTF-16 to UTF-8 text mode.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/exception.h"
#include "base/stream_in_memory.h"
#include "base/stream_out_mem.h"

namespace {

// A source that hands out its bytes one virtual call at a time (no window
// of ready bytes) and counts the calls.
class CCountingStream : public XStreamIn {
public:
  explicit CCountingStream(std::string bytes) : bytes_(std::move(bytes)) {}
  std::uint8_t readByte() override {
    ++reads;
    if (position_ == bytes_.size()) {
      throw EOS{this};
    }
    return static_cast<std::uint8_t>(bytes_[position_++]);
  }
  void unreadByte() override {}
  int reads = 0;

private:
  std::string bytes_;
  std::size_t position_ = 0;
};

// A source whose bytes run out into a failure of the system, not an end.
class CFailingStream : public XStreamIn {
public:
  std::uint8_t readByte() override { throw XExceptionGeneral(L"read failed"); }
  void unreadByte() override {}
};

std::u16string decodeAll(XStreamIn& in) {
  std::u16string out;
  char16_t c;
  while (in.nextCharOrEnd(c)) {
    out += c;
  }
  return out;
}

TEST(StreamInMemory, ReadsStepsBackAndSignalsTheEnds) {
  XStreamInMemory empty(nullptr, 0);
  EXPECT_THROW(empty.readByte(), XStreamIn::EOS);
  EXPECT_THROW(empty.unreadByte(), XStreamIn::EOS);

  const std::string bytes = "ab";
  XStreamInMemory in(bytes.data(), bytes.size());
  EXPECT_EQ(in.readByte(), 'a');
  EXPECT_EQ(in.readByte(), 'b');
  try {
    in.readByte();
    FAIL() << "no end";
  } catch (const XStreamIn::EOS& end) {
    EXPECT_EQ(end.stream, &in);
  }
  in.unreadByte();
  in.unreadByte();
  EXPECT_THROW(in.unreadByte(), XStreamIn::EOS);
  EXPECT_EQ(in.readByte(), 'a');
}

TEST(StreamInChars, PushBackRereadsFromTheRingWithoutTheSource) {
  CCountingStream in("xyz");
  EXPECT_EQ(in.nextChar(), u'x');
  EXPECT_EQ(in.nextChar(), u'y');
  in.pushBack(2);
  EXPECT_EQ(in.nextChar(), u'x');
  EXPECT_EQ(in.nextChar(), u'y');
  EXPECT_EQ(in.reads, 2);
  EXPECT_EQ(in.nextChar(), u'z');
  EXPECT_EQ(in.reads, 3);
}

TEST(StreamInChars, PushBackReachesThirtyOneCharactersAcrossTheRingsWrap) {
  std::string bytes;
  for (int i = 0; i < 80; ++i) {
    bytes += static_cast<char>('0' + i % 64);
  }
  CCountingStream in(bytes);
  for (int i = 0; i < 45; ++i) {
    in.nextChar();
  }
  in.pushBack(31);
  for (int i = 45 - 31; i < 80; ++i) {
    ASSERT_EQ(in.nextChar(), static_cast<char16_t>(bytes[i])) << i;
  }
  EXPECT_EQ(in.reads, 80);
}

TEST(StreamInChars, Utf8DecodesUpToThreeBytesAndRefusesTheRest) {
  struct Case {
    std::string bytes;
    std::u16string chars;  // what is decoded before the end
  };
  const Case cases[] = {
      {"a\x7F", u"a\x7F"},
      {"\xC3\xA9", u"\u00E9"},
      {"\xE2\x82\xAC", u"\u20AC"},
      {"\xEF\xBF\xBF", u"\uFFFF"},
      {"\xED\xA0\x80", std::u16string(1, char16_t(0xD800))},  // a lone surrogate passes
      {"\xC3\x41", u"\u00C1"},      // continuation bytes are not checked
      {"\xC0\x80", std::u16string(1, char16_t(0))},  // nor are overlong forms
      {"a\xF0\x9F\x98\x80z", u"a"},  // four-byte sequences end the input
      {"a\x80z", u"a"},             // so does a stray continuation byte
      {"a\xE2\x82", u"a"},          // and a sequence cut short
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    XStreamInMemory in(c.bytes.data(), c.bytes.size());
    in.setDecoder(XStreamIn::Decoding::Utf8);
    EXPECT_EQ(decodeAll(in), c.chars);
  }
}

TEST(StreamInChars, TheDecoderSwitchAppliesToCharactersDecodedLater) {
  const std::string bytes = "\xC3\xA9\xC3\xA9";
  XStreamInMemory in(bytes.data(), bytes.size());
  EXPECT_EQ(in.nextChar(), u'\u00C3');
  EXPECT_EQ(in.nextChar(), u'\u00A9');
  in.pushBack(1);
  in.setDecoder(XStreamIn::Decoding::Utf8);
  EXPECT_EQ(in.nextChar(), u'\u00A9');  // already decoded: stays 8-bit
  EXPECT_EQ(in.nextChar(), u'\u00E9');
}

TEST(StreamInChars, NextCharOrEndTurnsEveryFailureIntoFalse) {
  XStreamInMemory empty(nullptr, 0);
  char16_t c = u'?';
  EXPECT_FALSE(empty.nextCharOrEnd(c));
  EXPECT_THROW(empty.nextChar(), XStreamIn::EOS);

  CFailingStream failing;
  EXPECT_FALSE(failing.nextCharOrEnd(c));
  EXPECT_THROW(failing.nextChar(), XExceptionGeneral);
}

TEST(StreamInChars, NextNonBlankSkipsExactlyTheFourBlanks) {
  const std::string bytes = " \t\r\n\x0B \x0C";
  XStreamInMemory in(bytes.data(), bytes.size());
  EXPECT_EQ(in.nextNonBlank(), u'\x0B');
  EXPECT_EQ(in.nextNonBlank(), u'\x0C');
  EXPECT_THROW(in.nextNonBlank(), XStreamIn::EOS);
}

TEST(StreamInChars, AtDoubleDashReadsTwoDashesOrNothing) {
  const std::string bytes = "--x-y";
  XStreamInMemory in(bytes.data(), bytes.size());
  EXPECT_TRUE(in.atDoubleDash());
  EXPECT_FALSE(in.atDoubleDash());
  EXPECT_EQ(in.nextChar(), u'x');
  EXPECT_FALSE(in.atDoubleDash());
  EXPECT_EQ(in.nextChar(), u'-');
  EXPECT_EQ(in.nextChar(), u'y');
}

// A sink that records every block and can refuse.
class CRecordingSink : public XStreamOut {
public:
  bool write(const std::uint8_t* bytes, std::size_t count) override {
    if (refuse) {
      return false;
    }
    blocks.emplace_back(bytes, bytes + count);
    return true;
  }
  std::string all() const {
    std::string joined;
    for (const auto& block : blocks) {
      joined += block;
    }
    return joined;
  }
  bool refuse = false;
  std::vector<std::string> blocks;
};

TEST(StreamOut, BytesPassUnchangedInPiecesOfTheBuffer) {
  CRecordingSink sink;
  std::string bytes;
  for (int i = 0; i < 2500; ++i) {
    bytes += static_cast<char>(i * 7);
  }
  sink.put(bytes.data(), 1000);
  EXPECT_TRUE(sink.blocks.empty());
  sink.put(bytes.data() + 1000, 1500);
  sink.flush();
  sink.flush();  // nothing left: no empty block
  ASSERT_EQ(sink.blocks.size(), 3u);
  EXPECT_EQ(sink.blocks[0].size(), 1024u);
  EXPECT_EQ(sink.blocks[1].size(), 1024u);
  EXPECT_EQ(sink.all(), bytes);
}

TEST(StreamOut, TextModeFlushesAFullBufferOfWideCharactersAsUtf8) {
  CRecordingSink sink;
  sink.setTextMode(true);
  sink.putText(std::wstring(512, L'\u20AC'));
  ASSERT_EQ(sink.blocks.size(), 1u);
  EXPECT_EQ(sink.blocks[0].size(), 1536u);
  EXPECT_EQ(sink.blocks[0].substr(0, 3), "\xE2\x82\xAC");

  sink.putText(L"a\u00E9");
  sink.flush();
  EXPECT_EQ(sink.blocks.back(), "a\xC3\xA9");
}

// A pair of surrogates that straddles the end of the buffer is converted
// whole, not as two replacement characters.
TEST(StreamOut, TextModeKeepsASurrogatePairTogetherAcrossAFlush) {
  CRecordingSink sink;
  sink.setTextMode(true);
  std::wstring text(511, L'a');
  text += static_cast<wchar_t>(0xD83D);
  text += static_cast<wchar_t>(0xDE00);
  sink.putText(text);
  sink.flush();
  ASSERT_EQ(sink.blocks.size(), 2u);
  EXPECT_EQ(sink.blocks[0], std::string(511, 'a'));
  EXPECT_EQ(sink.blocks[1], "\xF0\x9F\x98\x80");
}

TEST(StreamOut, ARefusedFlushRaisesErrAndKeepsTheBuffer) {
  CRecordingSink sink;
  sink.put("abc", 3);
  sink.refuse = true;
  try {
    sink.flush();
    FAIL() << "no error";
  } catch (const XStreamOut::ERR& error) {
    EXPECT_EQ(error.stream, &sink);
  }
  sink.refuse = false;
  sink.flush();
  EXPECT_EQ(sink.all(), "abc");
}

TEST(StreamOutMem, CollectsEveryBlock) {
  XStreamOutMem out;
  out.setTextMode(true);
  const std::wstring text(3000, L'\u00E9');
  out.putText(text);
  out.flush();
  EXPECT_EQ(out.total(), 6000u);
  std::vector<std::uint8_t> bytes = out.takeBytes();
  ASSERT_EQ(bytes.size(), 6000u);
  EXPECT_EQ(bytes[0], 0xC3);
  EXPECT_EQ(bytes[5999], 0xA9);
}

}  // namespace
