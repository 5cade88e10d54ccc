// Laying out markup with sizes the test chooses, and a picture of the boxes
// that layout gives.
//
// The measure: every character of a word is 4 pixels wide, text is as high
// as the style's font (8 pixels, 11 medium, 14 large), and a control's
// natural size is read from its own attributes nw and nh (40 x 10 without).
#pragma once

#include <string>
#include <vector>

#include "dialog/dialog_layout.h"
#include "dialog/font_metrics.h"
#include "dialog_test_support.h"

class CFixedMeasure : public XCellMeasure {
public:
  static constexpr std::int32_t kCharWidth = 4;
  static constexpr std::int32_t kTextHeight = 8;

  CBoxSize measureControl(CDialogNode& control, CTextStyle style) override {
    measured.push_back(xml_dump::visible(control.name));
    styles.push_back(style);
    return {number(control, L"nw", 40), number(control, L"nh", 10)};
  }
  CBoxSize measureWord(CDialogNode& word, CTextStyle style) override {
    styles.push_back(style);
    return {static_cast<std::int32_t>(word.name.size()) * kCharWidth, lineBreakHeight(style)};
  }
  std::int32_t lineBreakHeight(CTextStyle style) override { return styleFontHeight(kTextHeight, style); }

  // The controls measured, in order, and the style of every control and word.
  std::vector<std::string> measured;
  std::vector<CTextStyle> styles;

private:
  static std::int32_t number(const CDialogNode& node, const wchar_t* key, std::int32_t fallback) {
    const std::wstring* value = node.attribute(key);
    return value ? std::stoi(*value) : fallback;
  }
};

namespace layout_dump {

inline std::string box(const CBoxRect& r) {
  std::string out = "(";
  for (std::int32_t v : {r.left, r.top, r.right, r.bottom}) {
    out.append(std::to_string(v)).append(",");
  }
  out.back() = ')';
  return out;
}

//   container   name(l,t,r,b)[cell,cell]
//   control     name(l,t,r,b)
//   word        "text"(l,t,r,b)
//   line break  br
//   hidden      name:none
inline std::string cells(const CDialogNode& n) {
  if (n.isLineBreak()) {
    return "br";
  }
  if (n.isText()) {
    std::string word = "\"";
    return word.append(xml_dump::visible(n.name)).append("\"").append(box(n.box));
  }
  if (n.display == CDialogNode::None) {
    return xml_dump::visible(n.name) + ":none";
  }
  std::string out = xml_dump::visible(n.name);
  out.append(box(n.box));
  if (!n.cells.empty()) {
    out.append("[");
    for (std::size_t i = 0; i < n.cells.size(); ++i) {
      out.append(i ? "," : "").append(cells(*n.cells[i]));
    }
    out.append("]");
  }
  return out;
}

}  // namespace layout_dump

struct CLaidOut {
  DialogModel model;
  CFixedMeasure measure;
  CBoxSize client;
};

// The markup prepared and laid out at an em of 8 pixels.
inline CLaidOut laidOut(const std::string& markup) {
  CLaidOut result{preparedModel(markup), {}, {}};
  result.client = layOutDialog(result.model, result.measure);
  return result;
}

inline std::string laidOutBoxes(const std::string& markup) { return layout_dump::cells(*laidOut(markup).model.root); }
