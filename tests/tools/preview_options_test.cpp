// The preview tool's command line: what it accepts and what it refuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "preview/preview_options.h"

namespace {

using Arguments = std::vector<std::wstring>;

TEST(PreviewOptions, OneMarkupFileShownOrPhotographed) {
  const auto shown = parsePreviewOptions({L"--ui", L"Z:\\ui", L"dlg\\welcome.xml"});
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->uiFolder.wstring(), L"Z:\\ui");
  EXPECT_FALSE(shown->dpi);
  ASSERT_EQ(shown->jobs.size(), 1u);
  EXPECT_EQ(shown->jobs[0].markup, "dlg/welcome.xml");  // the bundle's name
  EXPECT_TRUE(shown->jobs[0].picturePath.empty());

  const auto photographed = parsePreviewOptions({L"--dpi", L"192", L"stddlg.xml", L"--out", L"a.png", L"--ui", L"u"});
  ASSERT_TRUE(photographed);
  EXPECT_EQ(photographed->dpi, 192);
  ASSERT_EQ(photographed->jobs.size(), 1u);
  EXPECT_EQ(photographed->jobs[0].picturePath, L"a.png");
}

TEST(PreviewOptions, SeveralFilesEachWithItsPicture) {
  const auto options = parsePreviewOptions({L"--ui", L"u", L"a.xml", L"--out", L"a.png", L"b.xml", L"--out", L"b.png"});
  ASSERT_TRUE(options);
  ASSERT_EQ(options->jobs.size(), 2u);
  EXPECT_EQ(options->jobs[1].markup, "b.xml");
  EXPECT_EQ(options->jobs[1].picturePath, L"b.png");
}

TEST(PreviewOptions, RefusesWhatNoUsageAllows) {
  const Arguments refused[] = {
      {},
      {L"--ui", L"u"},                                             // no markup
      {L"a.xml"},                                                  // no folder
      {L"--ui", L"u", L"a.xml", L"b.xml"},                         // two windows to watch
      {L"--ui", L"u", L"a.xml", L"--out", L"a.png", L"b.xml"},     // the second without a picture
      {L"--ui", L"u", L"--out", L"a.png", L"a.xml"},               // a picture before its markup
      {L"--ui", L"u", L"a.xml", L"--out", L"a.png", L"--out", L"b.png"},
      {L"--ui", L"u", L"a.xml", L"--dpi", L"0"},
      {L"--ui", L"u", L"a.xml", L"--dpi", L"96x"},
      {L"--ui", L"u", L"a.xml", L"--dpi"},
      {L"--ui", L"u", L"a.xml", L"--zoom", L"2"},
      {L"--ui", L"u", L"d\u00e9j\u00e0.xml"},                      // no bundle name
  };
  for (const Arguments& arguments : refused) {
    std::wstring line;
    for (const std::wstring& argument : arguments) {
      line += argument + L" ";
    }
    EXPECT_FALSE(parsePreviewOptions(arguments)) << std::string(line.begin(), line.end());
  }
}

}  // namespace
