// The hash map's hash, bucket order and chains: the writer's attribute order
// depends on every one of them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/hash_map.h"

namespace {

using CMap = THashMap<std::wstring, std::wstring>;

std::vector<std::wstring> keysInOrder(const CMap& map) {
  std::vector<std::wstring> keys;
  for (const auto& entry : map) {
    keys.push_back(entry.key);
  }
  return keys;
}

TEST(HashMap, ShortKeysHashWithPlainFnv1) {
  // The published FNV-1 32-bit values; keys under ten characters are hashed
  // whole.
  EXPECT_EQ(sampledFnv1(std::wstring_view(L"")), 0x811C9DC5u);
  EXPECT_EQ(sampledFnv1(std::wstring_view(L"a")), 0x050C5D7Eu);
  EXPECT_EQ(sampledFnv1(std::wstring_view(L"foobar")), 0x31F0B262u);
  EXPECT_EQ(sampledFnv1(std::string_view("foobar")), 0x31F0B262u);
  EXPECT_EQ(CMap::bucketOf(L"foobar"), 0x31F0B262u % 31);
}

TEST(HashMap, LongKeysAreSampled) {
  // Eleven characters: every second one counts (0, 2, 4, ...).
  EXPECT_EQ(sampledFnv1(std::wstring_view(L"abcdefghijk")), sampledFnv1(std::wstring_view(L"aXcdefghijk")));
  EXPECT_NE(sampledFnv1(std::wstring_view(L"abcdefghijk")), sampledFnv1(std::wstring_view(L"abXdefghijk")));
  // Code units above 8 bits count whole, in both trees.
  EXPECT_NE(sampledFnv1(std::wstring_view(L"\u0141")), sampledFnv1(std::wstring_view(L"\u0041")));
}

TEST(HashMap, IteratesBucketByBucketAndEachChainFromItsHead) {
  CMap map;
  EXPECT_TRUE(map.empty());
  EXPECT_EQ(map.begin(), map.end());
  // Buckets: id 30, width 23, lid 2, name 10, class 10 (set after name).
  for (const wchar_t* key : {L"id", L"width", L"lid", L"name", L"class"}) {
    map.set(key, std::wstring(key) + L"-value");
  }
  EXPECT_EQ(keysInOrder(map), (std::vector<std::wstring>{L"lid", L"class", L"name", L"width", L"id"}));
  EXPECT_EQ(map.size(), 5u);

  // Setting an existing key keeps its place.
  map.set(L"name", L"again");
  EXPECT_EQ(keysInOrder(map), (std::vector<std::wstring>{L"lid", L"class", L"name", L"width", L"id"}));
  EXPECT_EQ(map.size(), 5u);
  ASSERT_NE(map.find(L"name"), nullptr);
  EXPECT_EQ(*map.find(L"name"), L"again");
  EXPECT_EQ(map.find(L"Name"), nullptr);  // exact, case-sensitive
  EXPECT_EQ(map.find(L"nothing"), nullptr);

  // A copy iterates the same way.
  const CMap copy = map;
  EXPECT_EQ(keysInOrder(copy), keysInOrder(map));
  EXPECT_EQ(*copy.find(L"class"), L"class-value");
}

TEST(HashMap, ManyKeysStayReachable) {
  THashMap<std::string, int> map;
  for (int i = 0; i < 20000; ++i) {
    map.set(std::to_string(i), i);
  }
  EXPECT_EQ(map.size(), 20000u);
  int sum = 0;
  for (const auto& entry : map) {
    sum += entry.value == std::stoi(entry.key) ? 1 : 0;
  }
  EXPECT_EQ(sum, 20000);
  ASSERT_NE(map.find("12345"), nullptr);
  EXPECT_EQ(*map.find("12345"), 12345);
  map.clear();
  EXPECT_TRUE(map.empty());
  EXPECT_EQ(map.find("1"), nullptr);
}

}  // namespace
