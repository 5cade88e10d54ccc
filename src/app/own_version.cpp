#include "app/own_version.h"

#include "app/version_scan.h"

CVersion moduleVersion(HMODULE module) {
  constexpr unsigned kVersionResourceId = 1;
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(kVersionResourceId), RT_VERSION);
  HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  if (!data) {
    return CVersion{};
  }
  return versionFromResource(static_cast<const std::uint8_t*>(data), ::SizeofResource(module, found));
}
