// The header of a dialog's window: what its prepared root says about the
// window's style, font and title.
#pragma once

#include <cstdint>
#include <string>

#include "dialog/dialog_model.h"

inline constexpr wchar_t kDefaultDialogFont[] = L"MS Shell Dlg";

struct CDialogHeader {
  std::uint32_t style = 0;
  std::wstring font;
  std::uint16_t pointSize = kDefaultPointSize;
  // The text of the root's `caption` element.
  std::wstring caption;
};

// `size` when it is an integer from 0 to 65535, else 8.
std::uint16_t dialogPointSize(const CDialogNode& root);

// `style` when the whole text is a decimal or "0x"/"0X" hexadecimal number,
// else defaultStyle; `font`, else "MS Shell Dlg"; the point size; the
// caption.  A root that is not `dialog` throws XExceptionDlg ("Dialog
// error").
CDialogHeader readDialogHeader(const DialogModel& model, std::uint32_t defaultStyle);
