#include "dialog/dialog_header.h"

#include <optional>

#include "app/exception.h"
#include "base/integer.h"
#include "base/text.h"

namespace {

std::wstring captionText(const CDialogTreeNode& root) {
  for (const CDialogTreeNode* child = root.firstChildNode(); child; child = child->nextSiblingNode()) {
    if (child->isElement() && equalsIgnoringCase(child->name, L"caption")) {
      const CDialogTreeNode* text = child->firstChildNode();
      return text && text->isText() ? text->name : std::wstring();
    }
  }
  return {};
}

}  // namespace

std::uint16_t dialogPointSize(const CDialogNode& root) {
  const std::wstring* size = root.attribute(L"size");
  const std::optional<std::int32_t> points = size ? parseInteger(*size) : std::nullopt;
  return points && *points >= 0 && *points <= 0xFFFF ? static_cast<std::uint16_t>(*points) : kDefaultPointSize;
}

CDialogHeader readDialogHeader(const DialogModel& model, std::uint32_t defaultStyle) {
  const CDialogTreeNode& root = model.root.ref();
  if (!root.is(L"dialog")) {
    throw XExceptionDlg();
  }
  CDialogHeader header;
  const std::wstring* style = root.attribute(L"style");
  const std::optional<std::int32_t> parsed = style ? parseInteger(*style) : std::nullopt;
  header.style = parsed ? static_cast<std::uint32_t>(*parsed) : defaultStyle;
  header.font = root.attributeOr(L"font", kDefaultDialogFont);
  header.pointSize = dialogPointSize(root);
  header.caption = captionText(root);
  return header;
}
