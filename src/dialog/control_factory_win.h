// Makes the windows of a markup dialog: one control per control element, one
// static window per word of text, each as a child of the dialog window, at
// (0, 0) with its natural size and the font of its text style, hidden until
// layout shows it.  Layout asks for them through XCellMeasure.
#pragma once

#include <windows.h>

#include <set>
#include <string>

#include "dialog/dialog_model.h"
#include "dialog/font_metrics.h"
#include "dialog/layout_cells.h"
#include "resource/image_cache.h"

class CControlFactory : public XCellMeasure {
public:
  // model.metrics must hold the dialog font's metrics already.
  CControlFactory(DialogModel& model, HWND parent, XDialogFonts& fonts, CImageCache& images);

  CBoxSize measureControl(CDialogNode& control, CTextStyle style) override;
  CBoxSize measureWord(CDialogNode& word, CTextStyle style) override;
  std::int32_t lineBreakHeight(CTextStyle style) override;

  // The last control made with `focus` true, and the last `button` with a
  // non-zero `default`; nullptr when there is none.
  HWND focusWindow() const noexcept { return focusWindow_; }
  HWND defaultButton() const noexcept { return defaultButton_; }

  // What the element kinds use to make their windows.
  struct CWindowRequest {
    const wchar_t* className;
    DWORD exStyle = 0;
    DWORD style = 0;
    std::wstring text;
    CBoxSize size;
  };
  // Makes the node's window with the node's identifier and the font, and
  // keeps it in the node.
  HWND create(CDialogNode& node, const CWindowRequest& request, HFONT font);
  HFONT fontOf(CTextStyle style) { return fonts_.fontOf(style); }
  // The height of a line in the style's font.
  std::int32_t textHeight(CTextStyle style);
  std::int32_t em() const noexcept { return model_.em(); }
  const CControlUnits& units() const noexcept { return units_; }
  int dpi() const noexcept { return model_.dpi.window; }
  CImageCache& images() noexcept { return images_; }
  // True for the first radio button of its `name`.
  bool startsRadioGroup(const std::wstring& name) { return radioGroups_.insert(name).second; }
  void makeDefaultButton(HWND button) noexcept { defaultButton_ = button; }
  void registerLabel(CDialogNode& label);

private:
  std::int32_t identifierOf(const CDialogNode& node);

  DialogModel& model_;
  HWND parent_;
  XDialogFonts& fonts_;
  CImageCache& images_;
  CControlUnits units_;
  std::set<std::wstring> radioGroups_;
  HWND focusWindow_ = nullptr;
  HWND defaultButton_ = nullptr;
};

// The text of the element's own text runs, joined, without the white space
// at both ends.
std::wstring elementText(const CDialogNode& element);

// A length attribute, or fallback when the element does not have it.
std::int32_t lengthOr(const CDialogNode& node, std::wstring_view key, std::int32_t em, std::int32_t fallback);
