// One markup file shown as the setup shows it, watched for changes.
//
// Without a picture path the dialog runs until the user closes it or one of
// the watched files changes (then it ends with kReload, so that the caller
// reads the folder again and shows the new markup).  With one it photographs
// itself once it is shown and ends with kPhotographed.
#pragma once

#include <cstdint>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/xdlg.h"

class CPreviewDialog : public XDlg {
public:
  static constexpr int kReload = 0x5201;
  static constexpr int kPhotographed = 0x5202;

  CPreviewDialog(std::string_view markupName, std::vector<std::filesystem::path> watched, std::wstring picturePath);

  // Runs the dialog; a failure while its window was built or photographed is
  // thrown from here, after the window has gone.
  int run();

protected:
  void PreInitDialog() override;
  void OnFirstShow() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  std::uint64_t newestChange() const;
  void photograph();

  std::vector<std::filesystem::path> watched_;
  std::wstring picturePath_;
  std::uint64_t shownChange_ = 0;
  std::exception_ptr failure_;
};
