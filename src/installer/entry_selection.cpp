#include "installer/entry_selection.h"

#include "base/text.h"

#include <algorithm>

namespace setup {

namespace {

constexpr std::wstring_view kMarker32 = L" x86.";
constexpr std::wstring_view kMarker64 = L" x64.";
// What is cut out of a marked name: the marker without its dot.
constexpr std::size_t kMarkerCut = 4;

std::wstring withBackslashes(std::wstring name) {
  std::replace(name.begin(), name.end(), L'/', L'\\');
  return name;
}

// A marker counts only after the first character.
bool markedAfterStart(std::size_t position) { return position != std::wstring::npos && position > 0; }

}  // namespace

std::optional<std::wstring> selectEntryName(std::wstring_view entryName, bool is64BitSystem) {
  const std::wstring lower = asciiLowerCase(entryName);
  std::wstring name(entryName);

  const std::size_t marked32 = lower.find(kMarker32);
  if (markedAfterStart(marked32)) {
    if (is64BitSystem) {
      return std::nullopt;
    }
    return withBackslashes(name.erase(marked32, kMarkerCut));
  }
  const std::size_t marked64 = lower.find(kMarker64);
  if (!markedAfterStart(marked64)) {
    return withBackslashes(std::move(name));
  }
  if (!is64BitSystem) {
    return std::nullopt;
  }
  return withBackslashes(name.erase(marked64, kMarkerCut));
}

bool isMainProgramCandidate(std::wstring_view selectedName, std::wstring_view displayName) {
  const std::wstring lower = asciiLowerCase(selectedName);
  const std::size_t program = lower.find(L".exe");
  return program != std::wstring::npos && program > 0 && lower.find(asciiLowerCase(displayName)) != std::wstring::npos;
}

}  // namespace setup
