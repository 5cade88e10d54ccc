#include "dialog/text_style.h"

#include "dialog/markup_values.h"

CTextStyle styleInside(const CDialogNode& element, CTextStyle inherited) {
  CTextStyle style = inherited;
  if (const std::wstring* size = element.attribute(L"font-size")) {
    if (*size == L"small") {
      style.size = CTextStyle::Normal;
    } else if (*size == L"medium") {
      style.size = CTextStyle::Medium;
    } else if (*size == L"large") {
      style.size = CTextStyle::Large;
    }
  }
  if (const std::wstring* strong = element.attribute(L"strong")) {
    style.flags = parseBoolean(*strong) ? style.flags | CTextStyle::Bold : style.flags & ~std::uint32_t{CTextStyle::Bold};
  }
  if (element.is(L"b") || element.is(L"strong")) {
    style.flags |= CTextStyle::Bold;
  }
  if (element.is(L"i")) {
    style.flags |= CTextStyle::Italic;
  }
  return style;
}

std::int32_t styleFontHeight(std::int32_t dialogFontHeight, CTextStyle style) {
  // Tenths keep the factors exact; the result is cut toward zero as a
  // conversion of the scaled floating value would cut it.
  const std::int64_t tenths = style.size == CTextStyle::Large ? 18 : style.size == CTextStyle::Medium ? 14 : 10;
  return static_cast<std::int32_t>(std::int64_t{dialogFontHeight} * tenths / 10);
}
