// Builds the package container from a product folder: a ZIP archive of its
// files, enciphered under a key field with the setup's key step.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "base/zip_cipher.h"
#include "package/zip_writer.h"

namespace package {

struct CPackOptions {
  zip::CKeyField keyField{};
  unsigned codePage = 1252;
};

struct CPackedFile {
  std::string shownName;
  Method method = Method::Stored;
  std::uint64_t bytesIn = 0;
  std::uint64_t bytesOut = 0;  // as stored in the archive
};

struct CPackResult {
  std::vector<std::uint8_t> container;  // key field, then the enciphered archive
  std::vector<CPackedFile> files;
  std::uint64_t bytesIn = 0;
};

// Throws CBuildError (product_files.h) for every input it refuses.
CPackResult buildPackage(const std::filesystem::path& folder, const CPackOptions& options);

}  // namespace package
