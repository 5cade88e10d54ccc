#include <optional>

#include "app/exception.h"
#include "base/bitmap.h"
#include "base/image_decode.h"
#include "resource/resource_bundle.h"

namespace {

bool decodeResource(std::string_view name, XBitmapBase& bitmap) {
  const std::optional<CResourceBytes> bytes = findResource(name);
  return bytes && decodeImage(bytes->data, bytes->size, bitmap);
}

}  // namespace

void loadImageResource(std::string_view name, XBitmapBase& image, XBitmapBase& highResolution) {
  if (!decodeResource(name, image)) {
    throw XExceptionResource(L"Required resource cannot be loaded");
  }
  // A missing or broken "-x2" picture is no error: the first one, doubled.
  if (!decodeResource(highResolutionName(name), highResolution)) {
    const CBmpRect whole{0, 0, image.width(), image.height()};
    scaleBitmap(image, whole, 2 * image.width(), 2 * image.height(), highResolution);
  }
}
