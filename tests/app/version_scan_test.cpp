#include "app/version_scan.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

// A version resource's bytes with the fixed file information at `at`.
std::vector<std::uint8_t> resourceWithFixedInfo(std::size_t at, std::size_t size) {
  std::vector<std::uint8_t> bytes(size, 0x20);
  put32(bytes, at, 0xFEEF04BD);
  put32(bytes, at + 4, 0x00010000);
  put32(bytes, at + 8, 0x00030007);   // 3.7
  put32(bytes, at + 12, 0x00020001);  // .2.1
  return bytes;
}

TEST(VersionScan, TakesTheFileVersionAfterTheSignature) {
  auto bytes = resourceWithFixedInfo(41, 200);  // at an odd, unaligned offset
  EXPECT_EQ(versionFromResource(bytes.data(), bytes.size()), (CVersion{3, 7, 2, 1}));
}

TEST(VersionScan, LargeComponentsKeepAllSixteenBits) {
  auto bytes = resourceWithFixedInfo(0, 60);
  put32(bytes, 8, 0xFFFE8001);
  put32(bytes, 12, 0x0000FFFF);
  EXPECT_EQ(versionFromResource(bytes.data(), bytes.size()), (CVersion{0xFFFE, 0x8001, 0, 0xFFFF}));
}

TEST(VersionScan, NoSignatureOrNoRoomGivesZero) {
  std::vector<std::uint8_t> none(300, 0xBD);
  EXPECT_EQ(versionFromResource(none.data(), none.size()), CVersion{});
  EXPECT_EQ(versionFromResource(nullptr, 0), CVersion{});

  // The signature is only taken where 52 bytes of fixed information follow
  // inside the resource: p + 52 must be below the size.
  auto exact = resourceWithFixedInfo(10, 62);
  EXPECT_EQ(versionFromResource(exact.data(), exact.size()), CVersion{});
  auto fits = resourceWithFixedInfo(10, 63);
  EXPECT_EQ(versionFromResource(fits.data(), fits.size()), (CVersion{3, 7, 2, 1}));
}

TEST(VersionScan, TheFirstSignatureWins) {
  auto bytes = resourceWithFixedInfo(4, 200);
  put32(bytes, 100, 0xFEEF04BD);
  put32(bytes, 108, 0x00090009);
  EXPECT_EQ(versionFromResource(bytes.data(), bytes.size()), (CVersion{3, 7, 2, 1}));
}

}  // namespace
