#include "resource/image_cache.h"

#include <optional>

#include "app/exception.h"
#include "base/bitmap.h"
#include "base/integer.h"
#include "resource/resource_bundle.h"
#include "resource/resource_name.h"

namespace {

CScopedIcon systemIcon(int id, int size) {
  return CScopedIcon(static_cast<HICON>(
      ::LoadImageW(nullptr, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

std::unique_ptr<CImageEntry> iconEntry(int id) {
  auto entry = std::make_unique<CImageEntry>();
  entry->kind = CImageEntry::Icon;
  entry->normalIcon = systemIcon(id, 32);
  entry->doubleIcon = systemIcon(id, 64);
  if (!entry->normalIcon || !entry->doubleIcon) {
    throw XExceptionResource(L"Required resource cannot be loaded");
  }
  entry->normalSize = {32, 32};
  entry->doubleSize = {64, 64};
  return entry;
}

std::unique_ptr<CImageEntry> pictureEntry(std::wstring_view src) {
  CBmpAlpha normal;
  CBmpAlpha doubled;
  loadImageResource(resourceName(src), normal, doubled);
  auto entry = std::make_unique<CImageEntry>();
  entry->kind = CImageEntry::Bitmap;
  entry->normalBitmap = makeAlphaDeviceBitmap(normal);
  entry->doubleBitmap = makeAlphaDeviceBitmap(doubled);
  if (!entry->normalBitmap || !entry->doubleBitmap) {
    throw XExceptionResource(L"Required resource cannot be loaded");
  }
  entry->normalSize = {normal.width(), normal.height()};
  entry->doubleSize = {doubled.width(), doubled.height()};
  return entry;
}

}  // namespace

HANDLE CImageEntry::handleFor(UINT dpi) const noexcept {
  if (kind == Icon) {
    return useDouble(dpi) ? doubleIcon.get() : normalIcon.get();
  }
  return useDouble(dpi) ? doubleBitmap.get() : normalBitmap.get();
}

const CImageEntry& CImageCache::imageFor(std::wstring_view src) {
  if (const auto found = entries_.find(src); found != entries_.end()) {
    return *found->second;
  }
  const std::optional<std::int32_t> icon = parseInteger(src);
  std::unique_ptr<CImageEntry> entry = icon ? iconEntry(*icon) : pictureEntry(src);
  return *entries_.emplace(std::wstring(src), std::move(entry)).first->second;
}
