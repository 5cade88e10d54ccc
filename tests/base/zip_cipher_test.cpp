#include "base/zip_cipher.h"

#include "base/hex.h"
#include "base/rc4.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

zip::CKeyField fieldOf(std::uint8_t first) {
  zip::CKeyField field{};
  for (std::size_t i = 0; i < field.size(); ++i) {
    field[i] = static_cast<std::uint8_t>(first + i * 17);
  }
  return field;
}

TEST(ZipCipher, KeyStepIsFixedAndDependsOnEveryByte) {
  const zip::CKeyField field = fieldOf(1);
  // Packages built by one build open in another: the step never changes.
  EXPECT_EQ(toHex(zip::derivePackageKey(field)), toHex(zip::derivePackageKey(fieldOf(1))));
  EXPECT_EQ(toHex(zip::derivePackageKey(field)), "2e8a4ef11d3935c6af60a5a2561e47f5");
  EXPECT_NE(toHex(zip::derivePackageKey(field)), toHex(field));
  for (std::size_t i = 0; i < field.size(); ++i) {
    zip::CKeyField changed = field;
    changed[i] ^= 0x01;
    EXPECT_NE(toHex(zip::derivePackageKey(changed)), toHex(zip::derivePackageKey(field))) << "byte " << i;
  }
}

TEST(ZipCipher, ContainerRoundTrip) {
  std::vector<std::uint8_t> archive(70000);
  for (std::size_t i = 0; i < archive.size(); ++i) {
    archive[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
  }
  const zip::CKeyField field = fieldOf(9);
  const std::vector<std::uint8_t> container = zip::encipherContainer(archive, field);
  ASSERT_EQ(container.size(), archive.size() + zip::kKeyFieldSize);
  EXPECT_TRUE(std::equal(field.begin(), field.end(), container.begin()));
  EXPECT_FALSE(std::equal(archive.begin(), archive.end(), container.begin() + zip::kKeyFieldSize));

  std::vector<std::uint8_t> body;
  ASSERT_TRUE(zip::decipherContainer(container.data(), container.size(), body));
  EXPECT_EQ(body, archive);
}

TEST(ZipCipher, SmallestContainers) {
  std::vector<std::uint8_t> body = {1, 2, 3};
  const std::vector<std::uint8_t> twenty(20, 0xAB);
  EXPECT_FALSE(zip::decipherContainer(twenty.data(), twenty.size(), body));
  EXPECT_TRUE(body.empty());
  EXPECT_FALSE(zip::decipherContainer(nullptr, 100, body));

  // 21 bytes: a 5-byte body, deciphered from its very first keystream byte.
  const zip::CKeyField field = fieldOf(3);
  const std::vector<std::uint8_t> plain = {'h', 'e', 'l', 'l', 'o'};
  std::vector<std::uint8_t> container(field.begin(), field.end());
  std::vector<std::uint8_t> enciphered = plain;
  const zip::CPackageKey key = zip::derivePackageKey(field);
  CRc4(key.data(), key.size()).process(enciphered.data(), enciphered.size());
  container.insert(container.end(), enciphered.begin(), enciphered.end());
  ASSERT_EQ(container.size(), 21u);
  ASSERT_TRUE(zip::decipherContainer(container.data(), container.size(), body));
  EXPECT_EQ(body, plain);
}

}  // namespace
