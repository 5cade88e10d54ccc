#include "preview/preview_options.h"

#include <cwchar>

namespace {

std::optional<int> positiveNumber(const std::wstring& text) {
  wchar_t* end = nullptr;
  const long value = std::wcstol(text.c_str(), &end, 10);
  if (text.empty() || *end != L'\0' || value <= 0 || value > 10000) {
    return std::nullopt;
  }
  return static_cast<int>(value);
}

// Markup names are the bundle's 8-bit names; anything else cannot name one.
std::optional<std::string> markupName(const std::wstring& text) {
  std::string name;
  for (const wchar_t c : text) {
    if (c < 0x20 || c > 0x7E) {
      return std::nullopt;
    }
    name += c == L'\\' ? '/' : static_cast<char>(c);
  }
  return name;
}

bool photographsAll(const CPreviewOptions& options) {
  for (const CPreviewJob& job : options.jobs) {
    if (job.picturePath.empty()) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<CPreviewOptions> parsePreviewOptions(const std::vector<std::wstring>& arguments) {
  CPreviewOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::wstring& argument = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (argument == L"--ui" && hasValue) {
      options.uiFolder = arguments[++i];
    } else if (argument == L"--dpi" && hasValue) {
      options.dpi = positiveNumber(arguments[++i]);
      if (!options.dpi) {
        return std::nullopt;
      }
    } else if (argument == L"--out" && hasValue && !options.jobs.empty() && options.jobs.back().picturePath.empty()) {
      options.jobs.back().picturePath = arguments[++i];
    } else if (!argument.empty() && argument[0] != L'-') {
      const std::optional<std::string> name = markupName(argument);
      if (!name) {
        return std::nullopt;
      }
      options.jobs.push_back({*name, L""});
    } else {
      return std::nullopt;
    }
  }
  if (options.uiFolder.empty() || options.jobs.empty() || (options.jobs.size() > 1 && !photographsAll(options))) {
    return std::nullopt;
  }
  return options;
}
