// The texts that setup.exe keeps scrambled: the protocol words and the
// default server address (net/hidden_words.cmake writes them at build time
// into the generated header hidden_words.h).  They are turned back into plain
// text only where they are used, so that none of them can be read in the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

std::string revealText(const std::uint8_t* stored, std::size_t size);

template <std::size_t N>
std::string reveal(const std::uint8_t (&stored)[N]) {
  return revealText(stored, N);
}

// The same, widened: every hidden text is plain ASCII.
template <std::size_t N>
std::wstring revealWide(const std::uint8_t (&stored)[N]) {
  const std::string text = revealText(stored, N);
  return std::wstring(text.begin(), text.end());
}
