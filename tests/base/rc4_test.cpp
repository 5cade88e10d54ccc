#include "base/rc4.h"

#include "app/exception.h"
#include "base/hex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// The first key set of RFC 6229: the key is the first bytes of 01 02 03 ...;
// each row is 16 keystream bytes at an offset into the stream.
struct CKeystreamCase {
  int keyBits;
  std::size_t offset;
  const char* keystream;
};

const CKeystreamCase kCases[] = {
    {40, 0, "b2396305f03dc027ccc3524a0a1118a8"},
    {40, 16, "6982944f18fc82d589c403a47a0d0919"},
    {40, 240, "28cb1132c96ce286421dcaadb8b69eae"},
    {40, 256, "1cfcf62b03eddb641d77dfcf7f8d8c93"},
    {40, 1520, "3294f744d8f9790507e70f62e5bbceea"},
    {40, 1536, "d8729db41882259bee4f825325f5a130"},
    {40, 3056, "f2e30f9bd102ecbf75aaade9bc35c43c"},
    {40, 4080, "068326a2118416d21f9d04b2cd1ca050"},
    {56, 0, "293f02d47f37c9b633f2af5285feb46b"},
    {56, 16, "e620f1390d19bd84e2e0fd752031afc1"},
    {56, 240, "914f02531c9218810df60f67e338154c"},
    {56, 256, "d0fdb583073ce85ab83917740ec011d5"},
    {56, 1520, "d2aa902bd42d0d7cfd340cd45810529f"},
    {56, 1536, "78b272c96e42eab4c60bd914e39d06e3"},
    {56, 3056, "adfd3868b8e51485d5e610017e3dd609"},
    {56, 4080, "f3172ceffc3b3d997c85ccd5af1a950c"},
    {64, 0, "97ab8a1bf0afb96132f2f67258da15a8"},
    {64, 16, "8263efdb45c4a18684ef87e6b19e5b09"},
    {64, 240, "9636ebc9841926f4f7d1f362bddf6e18"},
    {64, 256, "d0a990ff2c05fef5b90373c9ff4b870a"},
    {64, 1520, "1fe8986713f07c3d9ae1c163ff8cf9d3"},
    {64, 1536, "8369e1a965610be887fbd0c79162aafb"},
    {64, 3056, "26b51ea37df8e1d6f76fc3b66a7429b3"},
    {64, 4080, "d5fa5a3469d29aaaf83d23589db8c85b"},
    {128, 0, "9ac7cc9a609d1ef7b2932899cde41b97"},
    {128, 16, "5248c4959014126a6e8a84f11d1a9e1c"},
    {128, 240, "065902e4b620f6cc36c8589f66432f2b"},
    {128, 256, "d39d566bc6bce3010768151549f3873f"},
    {128, 1520, "b40110c4190b5622a96116b0017ed297"},
    {128, 1536, "ffa0b514647ec04f6306b892ae661181"},
    {128, 3056, "fabeb76028ade2d0e48722e46c4615a3"},
    {128, 4080, "ff38265c1642c1abe8d3c2fe5e572bf8"},
    {256, 0, "eaa6bd25880bf93d3f5d1e4ca2611d91"},
    {256, 16, "cfa45c9f7e714b54bdfa80027cb14380"},
    {256, 240, "114ae344ded71b35f2e60febad727fd8"},
    {256, 256, "02e1e7056b0f623900496422943e97b6"},
    {256, 1520, "40f250b26d1f096a4afd4c340a588815"},
    {256, 1536, "3e34135c79db010200767651cf263073"},
    {256, 3056, "8aed95ee5b0dcbfbef4eb21d3a3f52f9"},
    {256, 4080, "a13a7c79c7e119b5ab0296ab28c300b9"},
};

std::vector<std::uint8_t> testKey(int keyBits) {
  std::vector<std::uint8_t> key;
  for (int i = 1; i <= keyBits / 8; ++i) {
    key.push_back(static_cast<std::uint8_t>(i));
  }
  return key;
}

TEST(Rc4, PublishedKeystream) {
  for (const CKeystreamCase& c : kCases) {
    SCOPED_TRACE("key bits " + std::to_string(c.keyBits) + ", offset " + std::to_string(c.offset));
    const std::vector<std::uint8_t> key = testKey(c.keyBits);
    CRc4 cipher(key.data(), key.size());
    // Enciphering zeros yields the keystream itself.
    std::vector<std::uint8_t> stream(c.offset + 16, 0);
    cipher.process(stream.data(), stream.size());
    EXPECT_EQ(toHex(stream.data() + c.offset, 16), c.keystream);
  }
}

TEST(Rc4, KeystreamContinuesAcrossCalls) {
  const std::vector<std::uint8_t> key = testKey(128);
  std::vector<std::uint8_t> whole(4096, 0);
  CRc4(key.data(), key.size()).process(whole.data(), whole.size());

  std::vector<std::uint8_t> pieces(4096, 0);
  CRc4 cipher(key.data(), key.size());
  std::size_t offset = 0;
  for (std::size_t piece = 0; offset < pieces.size(); piece = piece % 37 + 1) {
    const std::size_t size = std::min(piece, pieces.size() - offset);
    cipher.process(pieces.data() + offset, size);  // a piece of 0 bytes included
    offset += size;
  }
  EXPECT_EQ(pieces, whole);
}

TEST(Rc4, DecipheringRestoresTheText) {
  const std::string key = "setup key";
  const std::string plain = "The quick brown fox jumps over the lazy dog";
  std::string text = plain;
  CRc4(key.data(), key.size()).process(text.data(), text.size());
  EXPECT_NE(text, plain);
  CRc4(key.data(), key.size()).process(text.data(), text.size());
  EXPECT_EQ(text, plain);
}

TEST(Rc4, KeyLengthMustBeOneTo256Bytes) {
  const std::vector<std::uint8_t> key(257, 0x5A);
  EXPECT_THROW(CRc4(key.data(), 0), XExceptionGeneral);
  EXPECT_THROW(CRc4(key.data(), 257), XExceptionGeneral);
  EXPECT_NO_THROW(CRc4(key.data(), 1));
  EXPECT_NO_THROW(CRc4(key.data(), 256));
}

}  // namespace
