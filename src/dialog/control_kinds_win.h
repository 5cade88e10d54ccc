// The controls of the markup's elements, one function per kind: each makes
// the element's window through the factory and gives its natural size.
#pragma once

#include "dialog/control_factory_win.h"

CBoxSize makeButton(CControlFactory& factory, CDialogNode& node, CTextStyle style);
// `radio` and `checkbox`.
CBoxSize makeCheckButton(CControlFactory& factory, CDialogNode& node, CTextStyle style);

CBoxSize makeEdit(CControlFactory& factory, CDialogNode& node, CTextStyle style);
CBoxSize makeCombo(CControlFactory& factory, CDialogNode& node, CTextStyle style);
CBoxSize makeList(CControlFactory& factory, CDialogNode& node, CTextStyle style);
CBoxSize makeTree(CControlFactory& factory, CDialogNode& node, CTextStyle style);
CBoxSize makeProgress(CControlFactory& factory, CDialogNode& node, CTextStyle style);
CBoxSize makeDate(CControlFactory& factory, CDialogNode& node, CTextStyle style);

CBoxSize makeStatic(CControlFactory& factory, CDialogNode& node, CTextStyle style);
CBoxSize makeLabel(CControlFactory& factory, CDialogNode& node, CTextStyle style);
CBoxSize makeLink(CControlFactory& factory, CDialogNode& node, CTextStyle style);
CBoxSize makeImage(CControlFactory& factory, CDialogNode& node, CTextStyle style);
// Shows an image control's picture for the DPI (the double-resolution one
// from 192 on), the control keeping its size.
void showImageAt(CImageCache& images, const CDialogNode& node, UINT dpi);
CBoxSize makeRule(CControlFactory& factory, CDialogNode& node, CTextStyle style);
