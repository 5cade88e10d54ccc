#include "dialog/mnemonics.h"

#include <array>
#include <optional>

namespace {

bool isAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

class CLetterTable {
public:
  bool isFree(wchar_t c) const { return isAsciiLetter(c) && !used_[static_cast<std::size_t>(c)]; }
  void take(wchar_t c) { used_[static_cast<std::size_t>(c)] = true; }

private:
  std::array<bool, 128> used_{};
};

// Where the first free letter stands; with wordStartsOnly, only a letter at
// the start of the text or after a blank counts.
std::optional<std::size_t> freeLetter(const std::wstring& text, const CLetterTable& letters, bool wordStartsOnly) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool wordStart = i == 0 || text[i - 1] == L' ';
    if ((wordStart || !wordStartsOnly) && letters.isFree(text[i])) {
      return i;
    }
  }
  return std::nullopt;
}

}  // namespace

std::vector<std::wstring> withMnemonics(const std::vector<CMnemonicCandidate>& candidates) {
  std::vector<std::wstring> texts;
  std::vector<bool> done;
  for (const CMnemonicCandidate& candidate : candidates) {
    texts.push_back(candidate.text);
    done.push_back(!candidate.enabled);
  }
  CLetterTable letters;
  for (bool wordStartsOnly : {true, false}) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
      if (done[i]) {
        continue;
      }
      if (const std::optional<std::size_t> at = freeLetter(texts[i], letters, wordStartsOnly)) {
        letters.take(texts[i][*at]);
        texts[i].insert(*at, 1, L'&');
        done[i] = true;
      }
    }
  }
  return texts;
}
