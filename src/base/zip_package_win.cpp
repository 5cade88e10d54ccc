// The package resource of the own module.
#include <windows.h>

#include "base/zip_archive.h"
#include "base/zip_cipher.h"

namespace zip {

bool loadPackage(std::vector<std::uint8_t>& buffer) {
  buffer.clear();
  HRSRC resource = ::FindResourceW(nullptr, MAKEINTRESOURCEW(kPackageResourceId), RT_RCDATA);
  if (!resource) {
    return false;
  }
  const DWORD size = ::SizeofResource(nullptr, resource);
  // A loaded resource belongs to the module image: nothing to free.
  HGLOBAL loaded = ::LoadResource(nullptr, resource);
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  if (!bytes || size == 0) {
    return false;
  }
  return decipherContainer(bytes, size, buffer);
}

}  // namespace zip
