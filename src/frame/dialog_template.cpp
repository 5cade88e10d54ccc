#include "frame/dialog_template.h"

#include <limits>

#include "app/exception.h"

namespace frame {
namespace {

constexpr std::uint16_t kExtendedVersion = 1;
constexpr std::uint16_t kExtendedSignature = 0xFFFF;
constexpr std::uint16_t kNone = 0;  // no menu, no class, no creation data
// Where the item count stands: after version, signature, help id, extended
// style and style.
constexpr std::size_t kItemCountOffset = 2 + 2 + 4 + 4 + 4;

}  // namespace

CDialogTemplate::CDialogTemplate(const CDialogTemplateHeader& header) {
  put16(kExtendedVersion);
  put16(kExtendedSignature);
  put32(header.helpId);
  put32(header.exStyle);
  put32(header.style);
  put16(0);  // the item count, kept up to date by addItem
  put16(static_cast<std::uint16_t>(header.x));
  put16(static_cast<std::uint16_t>(header.y));
  put16(static_cast<std::uint16_t>(header.width));
  put16(static_cast<std::uint16_t>(header.height));
  put16(kNone);  // menu
  put16(kNone);  // window class: the system's dialog class
  putText(header.caption);
  if (header.style & DS_SETFONT) {
    const CDialogTemplateFont& font = header.font;
    put16(font.pointSize);
    put16(font.weight);
    bytes_.push_back(font.italic ? 1 : 0);
    bytes_.push_back(font.charSet);
    putText(font.face);
  }
}

void CDialogTemplate::addItem(const CDialogTemplateItem& item) {
  if (itemCount_ == std::numeric_limits<std::uint16_t>::max()) {
    throw XExceptionLength(L"A dialog holds at most 65535 controls");
  }
  alignToFourBytes();
  put32(item.helpId);
  put32(item.exStyle);
  put32(item.style);
  put16(static_cast<std::uint16_t>(item.x));
  put16(static_cast<std::uint16_t>(item.y));
  put16(static_cast<std::uint16_t>(item.width));
  put16(static_cast<std::uint16_t>(item.height));
  put32(item.id);
  putText(item.className);
  putText(item.text);
  put16(kNone);  // creation data
  ++itemCount_;
  bytes_[kItemCountOffset] = static_cast<std::uint8_t>(itemCount_);
  bytes_[kItemCountOffset + 1] = static_cast<std::uint8_t>(itemCount_ >> 8);
}

const DLGTEMPLATE* CDialogTemplate::get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

// Templates are little-endian, as is every Windows this runs on.
void CDialogTemplate::put16(std::uint16_t value) {
  bytes_.push_back(static_cast<std::uint8_t>(value));
  bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
}

void CDialogTemplate::put32(std::uint32_t value) {
  put16(static_cast<std::uint16_t>(value));
  put16(static_cast<std::uint16_t>(value >> 16));
}

void CDialogTemplate::putText(const std::wstring& text) {
  for (wchar_t unit : text) {
    put16(static_cast<std::uint16_t>(unit));
  }
  put16(0);
}

void CDialogTemplate::alignToFourBytes() { bytes_.resize((bytes_.size() + 3) & ~std::size_t{3}); }

}  // namespace frame
