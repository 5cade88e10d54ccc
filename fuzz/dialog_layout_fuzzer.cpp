// Layout over arbitrary markup and natural sizes.  The input is the dialog
// markup, then optionally a NUL byte and the sizes: the em, a character's
// width, the text height, and then two bytes per control (width, height),
// used in turn.  Layout ends, every shown box is well formed, cells stay
// inside their containers unless the markup's own spacing or widths put them
// elsewhere, and a cell that begins a line is never wrapped to the next.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/exception.h"
#include "dialog/dialog_layout.h"
#include "dialog/dialog_prepare.h"
#include "dialog/layout_flow.h"
#include "dialog/markup_bundle.h"
#include "xml_fuzz_support.h"

namespace {

class CFuzzMeasure : public XCellMeasure {
public:
  explicit CFuzzMeasure(std::string_view sizes) : sizes_(sizes) {}

  std::int32_t em() const { return 1 + byteAt(0) % 24; }

  CBoxSize measureControl(CDialogNode&, CTextStyle) override {
    const std::size_t at = 3 + 2 * (controls_++ % 64);
    return {byteAt(at), byteAt(at + 1) % 64};
  }
  CBoxSize measureWord(CDialogNode& word, CTextStyle style) override {
    const std::int64_t width = static_cast<std::int64_t>(word.name.size()) * (byteAt(1) % 9);
    return {static_cast<std::int32_t>(std::min<std::int64_t>(width, 1 << 20)), lineBreakHeight(style)};
  }
  std::int32_t lineBreakHeight(CTextStyle style) override { return styleFontHeight(byteAt(2) % 20, style); }

private:
  std::int32_t byteAt(std::size_t at) const {
    return sizes_.empty() ? 7 : static_cast<std::uint8_t>(sizes_[at % sizes_.size()]);
  }

  std::string_view sizes_;
  std::size_t controls_ = 0;
};

bool wellFormed(const CBoxRect& box) { return box.right >= box.left && box.bottom >= box.top; }

bool held(const CBoxRect& box) {
  const auto inside = [](std::int32_t v) { return v > -kCoordinateLimit && v < kCoordinateLimit; };
  return inside(box.left) && inside(box.top) && inside(box.right) && inside(box.bottom);
}

bool nonNegative(const CBoxRect& r) { return r.left >= 0 && r.top >= 0 && r.right >= 0 && r.bottom >= 0; }

// Whether the cell's position may be checked against the container: no
// negative spacing on either side, nothing held at the coordinate limit.
bool checkable(const CDialogNode& container, const CDialogNode& cell) {
  return nonNegative(container.margin) && nonNegative(container.padding) && nonNegative(cell.margin) &&
         held(container.box) && held(cell.box);
}

// The lines of one container, followed cell by cell: a wrap moves a cell down
// by exactly the height of the line it leaves, and only from a line that has
// a cell (a cell that begins a line is never wrapped); a line break stands on
// its line and the next line starts below the taller of the two.
class CLineTrack {
public:
  void inlineCell(const CDialogNode& cell) {
    const std::int32_t height = cell.box.bottom - cell.box.top;
    if (known_ && cell.box.top != top_) {
      FUZZ_CHECK(hasCells_ && cell.box.top == top_ + height_);
      height_ = 0;
    }
    top_ = cell.box.top;
    height_ = std::max(known_ ? height_ : 0, height);
    known_ = hasCells_ = true;
  }
  void lineBreak(const CDialogNode& cell) {
    if (known_) {
      FUZZ_CHECK(cell.box.top == top_);
      top_ += std::max(height_, cell.naturalSize.cy);
      height_ = cell.naturalSize.cy;
      hasCells_ = false;
    }
  }
  // A line that begins empty at top: a container's first, or the one below
  // a block.
  void startLine(std::int32_t top) {
    known_ = true;
    hasCells_ = false;
    top_ = top;
    height_ = 0;
  }
  // After a cell whose box is held at the limit.
  void forget() { known_ = false; }

private:
  bool known_ = false;
  bool hasCells_ = false;
  std::int32_t top_ = 0;
  std::int32_t height_ = 0;
};

void checkContainer(const CDialogNode& container) {
  // A container's content is its box less margin and padding, as a control's
  // window is.
  const CBoxRect content = windowRectOf(container);
  CLineTrack lines;
  lines.startLine(content.top);
  for (const DialogNodePtr& pointer : container.cells) {
    const CDialogNode& cell = *pointer;
    if (cell.display == CDialogNode::None) {
      continue;
    }
    FUZZ_CHECK(wellFormed(cell.box));
    FUZZ_CHECK(cell.naturalSize.cx >= 0 && cell.naturalSize.cy >= 0);
    if (!held(container.box) || !held(cell.box)) {
      lines.forget();
    } else if (cell.display == CDialogNode::Block) {
      lines.startLine(cell.box.bottom);
    } else if (cell.isLineBreak()) {
      lines.lineBreak(cell);
    } else {
      lines.inlineCell(cell);
      if (checkable(container, cell)) {
        FUZZ_CHECK(cell.box.left >= content.left && cell.box.top >= content.top);
        FUZZ_CHECK(cell.box.bottom <= content.bottom);
        // Only a cell at the start of its line may pass the right edge.
        FUZZ_CHECK(cell.box.right <= content.right || cell.box.left == content.left || cell.naturalSize.cx == 0);
      }
    }
    if (cell.isElement()) {
      checkContainer(cell);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = input.find('\0');
  const std::string markup(input.substr(0, nul));
  CFuzzMeasure measure(nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1));
  const CMarkupBundle bundle(CMarkupBundle::Files{
      {"fuzz.xml", markup},
      {"strings/default.xml", "<stringtable><s id=\"p.t\">Some text\nin two lines</s></stringtable>"},
  });
  try {
    const XmlNodePtr root = loadDialogMarkup(L"fuzz.xml");
    if (!root) {
      return 0;
    }
    DialogModel model = prepareDialog(root);
    model.metrics.textHeight = measure.em();
    const CBoxSize client = layOutDialog(model, measure);
    FUZZ_CHECK(client.cx >= 0 && client.cy >= 0);
    FUZZ_CHECK(wellFormed(model.root->box));
    if (model.root->display == CDialogNode::None) {
      FUZZ_CHECK(model.root->cells.empty() && client.cx == 0 && client.cy == 0);
    } else {
      checkContainer(*model.root);
    }
  } catch (const XException& e) {
    FUZZ_CHECK(!e.getText().empty());
  }
  return 0;
}
