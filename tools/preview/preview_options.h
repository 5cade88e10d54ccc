// The preview tool's command line:
//   brantel-preview --ui DIR [--dpi N] MARKUP [--out FILE.png] [MARKUP --out FILE.png ...]
// MARKUP is a file's name inside DIR ("dlg/welcome.xml").  Several markup
// files are each photographed in turn; without --out only one may be given.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct CPreviewJob {
  std::string markup;
  std::wstring picturePath;  // empty: show and watch
};

struct CPreviewOptions {
  std::filesystem::path uiFolder;
  std::optional<int> dpi;
  std::vector<CPreviewJob> jobs;
};

inline constexpr wchar_t kPreviewUsage[] =
    L"usage: brantel-preview --ui DIR [--dpi N] MARKUP [--out FILE.png] [MARKUP --out FILE.png ...]";

// The options, or nothing when the command line is not one of the usage's.
std::optional<CPreviewOptions> parsePreviewOptions(const std::vector<std::wstring>& arguments);
