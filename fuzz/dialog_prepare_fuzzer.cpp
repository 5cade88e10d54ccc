// Dialog preparation over arbitrary documents.  The input is up to three
// files separated by NUL bytes: the dialog ("fuzz.xml"), the base dialog
// ("base.xml") and the string table ("strings/default.xml"); missing ones
// get small fixed files.  Preparing either fails with a member of the
// exception family or gives a folded, consistent tree, and never faults.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/exception.h"
#include "dialog/dialog_header.h"
#include "dialog/dialog_prepare.h"
#include "dialog/markup_values.h"
#include "dialog/markup_vocabulary.h"
#include "dialog/markup_bundle.h"
#include "xml_fuzz_support.h"

namespace {

bool hasUpperAscii(const std::wstring& text) {
  for (wchar_t c : text) {
    if (c >= L'A' && c <= L'Z') {
      return true;
    }
  }
  return false;
}

bool isTrimmed(const std::wstring& text) {
  auto blank = [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r'; };
  return text.empty() || (!blank(text.front()) && !blank(text.back()));
}

bool withinLimit(std::int32_t v) { return v >= -kLengthLimit && v <= kLengthLimit; }

bool boxWithinLimit(const CBoxRect& box) {
  return withinLimit(box.left) && withinLimit(box.top) && withinLimit(box.right) && withinLimit(box.bottom);
}

// The links agree, names and values are folded, and the box model gave
// every node values inside the limits.
void checkNode(const CDialogTreeNode& node) {
  FUZZ_CHECK(node.kind == CDialogNode::Element || node.kind == CDialogNode::Text);
  FUZZ_CHECK(node.display == CDialogNode::Block || node.display == CDialogNode::Inline ||
             node.display == CDialogNode::None);
  FUZZ_CHECK(boxWithinLimit(node.margin) && boxWithinLimit(node.padding));
  FUZZ_CHECK(node.width == kNoWidth || withinLimit(node.width));
  if (node.isElement()) {
    FUZZ_CHECK(!hasUpperAscii(node.name));
    for (const auto& entry : node.attributes) {
      FUZZ_CHECK(!hasUpperAscii(entry.key) && isTrimmed(entry.key));
      FUZZ_CHECK(entry.key == L"title" || !hasUpperAscii(entry.value));
    }
  } else {
    FUZZ_CHECK(node.firstChildNode() == nullptr);
  }
  const CDialogTreeNode* previous = nullptr;
  for (const CDialogTreeNode* child = node.firstChildNode(); child; child = child->nextSiblingNode()) {
    FUZZ_CHECK(child->parentNode() == &node);
    FUZZ_CHECK(child->prevSiblingNode() == previous);
    checkNode(*child);
    previous = child;
  }
  FUZZ_CHECK(node.lastChildNode() == previous);
}

std::vector<std::string> splitAtNul(std::string_view input) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (parts.size() < 3) {
    const std::size_t nul = input.find('\0', start);
    parts.emplace_back(input.substr(start, nul == std::string_view::npos ? std::string_view::npos : nul - start));
    if (nul == std::string_view::npos) {
      break;
    }
    start = nul + 1;
  }
  return parts;
}

const char kFixedBase[] = "<dialog font=\"Tahoma\" size=\"9\"><class name=\"c\" margin=\"1em 2px\"/>"
                          "<caption>Base</caption></dialog>";
const char kFixedTable[] = "<stringtable><s id=\"p.t\">Text</s><s id=\"p.t.title\">Tip</s>"
                           "<s id=\"xbutton.ok\">Fine</s><s id=\"p.caption\">Title</s></stringtable>";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> parts = splitAtNul(std::string_view(reinterpret_cast<const char*>(data), size));
  const CMarkupBundle bundle(CMarkupBundle::Files{
      {"fuzz.xml", parts[0]},
      {"base.xml", parts.size() > 1 ? parts[1] : kFixedBase},
      {"strings/default.xml", parts.size() > 2 ? parts[2] : kFixedTable},
  });
  try {
    const XmlNodePtr root = loadDialogMarkup(L"fuzz.xml");
    if (!root) {
      return 0;
    }
    DialogModel model = prepareDialog(root);
    applyBoxModel(*model.root, 13);
    checkNode(*model.root);
    try {
      const CDialogHeader header = readDialogHeader(model, 0x80C800C8);
      FUZZ_CHECK(model.root->is(L"dialog"));
      FUZZ_CHECK(header.pointSize == model.fontSize);
    } catch (const XExceptionDlg&) {
      FUZZ_CHECK(!model.root->is(L"dialog"));
    }
  } catch (const XException& e) {
    FUZZ_CHECK(!e.getText().empty());
  }
  return 0;
}
