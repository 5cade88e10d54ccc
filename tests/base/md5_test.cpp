#include "base/md5.h"

#include "base/hex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

struct CDigestCase {
  std::string message;
  const char* digest;
};

// The test suite of RFC 1321, then the lengths around the padding
// boundaries (55 bytes still fit the length into the last block, 56 do not),
// whose digests were computed with an independent implementation.
const CDigestCase kCases[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
    {std::string(55, 'x'), "04364420e25c512fd958a70738aa8f72"},
    {std::string(56, 'x'), "668a72d5ba17f08e62dabcafad6db14b"},
    {std::string(63, 'x'), "7dc2ca208106a2f703567bdff99d8981"},
    {std::string(64, 'x'), "c1bb4f81d892b2d57947682aeb252456"},
    {std::string(65, 'x'), "1bc932052302d074bdec39795fe00cf6"},
};

TEST(Md5, PublishedDigests) {
  for (const CDigestCase& c : kCases) {
    SCOPED_TRACE("length " + std::to_string(c.message.size()));
    EXPECT_EQ(toHex(md5Digest(c.message.data(), c.message.size())), c.digest);

    // Byte by byte through the incremental form gives the same digest.
    CMd5 md5;
    for (char ch : c.message) {
      md5.update(&ch, 1);
    }
    EXPECT_EQ(toHex(md5.finish()), c.digest);
  }
}

TEST(Md5, LongInputInUnevenPieces) {
  // One million 'a's, fed in pieces of 1, 2, 3 ... 150 bytes over and over,
  // so pieces straddle the 64-byte blocks in every way.
  const std::string million(1000000, 'a');
  CMd5 md5;
  std::size_t offset = 0;
  for (std::size_t piece = 1; offset < million.size(); piece = piece % 150 + 1) {
    const std::size_t size = std::min(piece, million.size() - offset);
    md5.update(million.data() + offset, size);
    offset += size;
  }
  EXPECT_EQ(toHex(md5.finish()), "7707d6ae4e027c70eea2a935c2296f21");
}

TEST(Md5, StartsOverAfterFinish) {
  CMd5 md5;
  md5.update("message digest", 14);
  md5.finish();
  md5.update("abc", 3);
  EXPECT_EQ(toHex(md5.finish()), "900150983cd24fb0d6963f7d28e17f72");
}

}  // namespace
