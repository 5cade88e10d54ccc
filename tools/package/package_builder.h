// Builds the package container from a product folder: a ZIP archive of its
// files, enciphered under a key field with the setup's key step.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/zip_cipher.h"
#include "package/zip_writer.h"

namespace package {

// Fresh key fields for packages that are not given one.
using CKeyFieldSource = std::function<zip::CKeyField()>;
zip::CKeyField randomKeyField();

// Where the builder assumes the product is installed when it checks the
// path limit: the longer of the two program folders (32-bit programs on
// 64-bit Windows) joined with the product's folder.
inline constexpr char kAssumedInstallationDirectory[] = "C:\\Program Files (x86)\\Brantel";

struct CPackOptions {
  // The key field to use; when empty, the first one drawn from `draw` under
  // which the enciphered archive does not begin with "PK".
  std::optional<zip::CKeyField> keyField;
  CKeyFieldSource draw = randomKeyField;
  unsigned codePage = 1252;
  std::string installationDirectory = kAssumedInstallationDirectory;
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

// Throws CBuildError (product_files.h) for every input it refuses, and for a
// given key field under which the package would begin with "PK" like a plain
// ZIP archive.
CPackResult buildPackage(const std::filesystem::path& folder, const CPackOptions& options);

}  // namespace package
