#include "installer/install_paths.h"

namespace setup {

namespace {

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

std::wstring temporaryFileName(const CRandomValue& value) {
  static constexpr wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring name;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) {
      name += L'-';
    }
    name += kDigits[value[i] >> 4];
    name += kDigits[value[i] & 0x0F];
  }
  return name + L".tmp";
}

std::vector<std::wstring> folderChain(std::wstring_view directory) {
  if (!directory.empty() && isSeparator(directory.back())) {
    directory.remove_suffix(1);
  }
  std::vector<std::wstring> chain;
  for (std::size_t i = 1; i < directory.size(); ++i) {
    if (isSeparator(directory[i]) && directory[i - 1] != L':' && !isSeparator(directory[i - 1])) {
      chain.emplace_back(directory.substr(0, i));
    }
  }
  if (!directory.empty()) {
    chain.emplace_back(directory);
  }
  return chain;
}

std::wstring relativeFolderOf(std::wstring_view relativeName) {
  const std::size_t last = relativeName.find_last_of(L"\\/");
  return last == std::wstring_view::npos ? std::wstring() : std::wstring(relativeName.substr(0, last));
}

}  // namespace setup
