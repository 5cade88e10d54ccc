// The scrambled words built into the program are exactly the shared list's,
// and the default address is the maker's build setting: the build step and
// the program's revealing agree on every byte.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

#include "net/hidden_text.h"
#include "net/hidden_words.h"

namespace {

std::map<std::string, std::string> wordsOfTheList() {
  std::ifstream file(BRANTEL_PROTOCOL_WORDS);
  std::map<std::string, std::string> words;
  std::string line;
  while (std::getline(file, line)) {
    const auto equals = line.find('=');
    if (line.empty() || line[0] == '#' || equals == std::string::npos) {
      continue;
    }
    words[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return words;
}

TEST(HiddenWords, EveryWordOfTheListRevealsAsWritten) {
  const auto expected = wordsOfTheList();
  ASSERT_FALSE(expected.empty());
  std::map<std::string, std::string> revealed;
#define BRANTEL_REVEAL_ONE(name) revealed[#name] = reveal(hidden_words::name);
  BRANTEL_HIDDEN_WORDS(BRANTEL_REVEAL_ONE)
#undef BRANTEL_REVEAL_ONE
  EXPECT_EQ(revealed, expected);
}

TEST(HiddenWords, TheDefaultAddressIsTheBuildSetting) {
  EXPECT_EQ(reveal(hidden_words::DEFAULT_ADDRESS), BRANTEL_DEFAULT_SERVER_ADDRESS);
}

TEST(HiddenWords, NoStoredWordShowsItsPlainText) {
  // Every byte depends on the one before it: a word's stored bytes never
  // contain the word itself, nor any three plain letters of it in a row.
  const auto expected = wordsOfTheList();
  const std::string address = BRANTEL_DEFAULT_SERVER_ADDRESS;
  const std::string stored(std::begin(hidden_words::DEFAULT_ADDRESS), std::end(hidden_words::DEFAULT_ADDRESS));
  for (std::size_t at = 0; at + 3 <= address.size(); ++at) {
    EXPECT_EQ(stored.find(address.substr(at, 3)), std::string::npos) << address.substr(at, 3);
  }
  const std::string check(std::begin(hidden_words::ACTION_CHECK), std::end(hidden_words::ACTION_CHECK));
  EXPECT_NE(check, expected.at("ACTION_CHECK"));
}

}  // namespace
