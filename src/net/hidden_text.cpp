#include "net/hidden_text.h"

#include "net/hidden_words.h"

std::string revealText(const std::uint8_t* stored, std::size_t size) {
  std::string text(size, '\0');
  std::uint8_t previous = 0;
  for (std::size_t i = 0; i < size; ++i) {
    text[i] = static_cast<char>(static_cast<std::uint8_t>((stored[i] ^ previous) - 1) ^ hidden_words::kKey);
    previous = stored[i];
  }
  return text;
}
