#include "package/product_files.h"

#include <algorithm>
#include <map>
#include <system_error>

#include "base/zip_entry_name.h"
#include "package/entry_names.h"

namespace package {

namespace {

// The setup's reader finds entries by names of at most 255 bytes.
constexpr std::size_t kMaxEntryNameBytes = 255;

namespace fs = std::filesystem;

void checkFolder(const fs::path& folder) {
  std::error_code error;
  const fs::file_status status = fs::status(folder, error);
  if (!fs::exists(status)) {
    throw CBuildError("product folder " + folder.string() + " does not exist");
  }
  if (!fs::is_directory(status)) {
    throw CBuildError("product folder " + folder.string() + " is not a folder");
  }
}

CProductFile describe(const fs::path& folder, const fs::path& file, unsigned codePage,
                      std::string_view installationDirectory) {
  CProductFile product;
  product.path = file;
  product.shownName = file.lexically_relative(folder).generic_string();
  const std::optional<std::string> entryName = toCodePage(product.shownName, codePage);
  if (!entryName) {
    throw CBuildError("file name " + product.shownName + " cannot be written in code page " +
                      std::to_string(codePage));
  }
  product.entryName = *entryName;
  if (product.entryName.size() > kMaxEntryNameBytes) {
    throw CBuildError("file name " + product.shownName + " is too long: " +
                      std::to_string(product.entryName.size()) + " bytes, at most " +
                      std::to_string(kMaxEntryNameBytes));
  }
  // The 8-bit name as the setup checks it, and the name as the system sees
  // it, whatever the code page makes of it.
  const std::wstring installedName = wideName(product.shownName);
  if (!zip::isSafeEntryName(product.entryName) || !zip::isSafeEntryName(installedName)) {
    throw CBuildError("file name " + product.shownName + " cannot be installed on Windows");
  }
  if (!zip::fitsPathLimit(wideName(installationDirectory), installedName)) {
    throw CBuildError("file name " + product.shownName + " is too long to install: below " +
                      std::string(installationDirectory) + " its path would exceed the system's limit of " +
                      std::to_string(zip::kMaxFilePathChars) + " characters (" +
                      std::to_string(zip::kMaxFolderPathChars) + " for a folder)");
  }
  return product;
}

void checkDistinctOnWindows(const std::vector<CProductFile>& files) {
  std::map<std::wstring, const CProductFile*> seen;
  // Every folder on the way to a file, and one file in it.
  std::map<std::wstring, const CProductFile*> folders;
  for (const CProductFile& file : files) {
    const std::wstring key = sameFileKey(file.shownName);
    auto [place, added] = seen.emplace(key, &file);
    if (!added) {
      throw CBuildError("file names " + place->second->shownName + " and " + file.shownName +
                        " differ only in letter case and would be the same file on Windows");
    }
    for (std::size_t at = key.find(L'/'); at != std::wstring::npos; at = key.find(L'/', at + 1)) {
      folders.emplace(key.substr(0, at), &file);
    }
  }
  // A file named like another file's folder but for letter case (the host
  // keeps "Sub" and "sub/x.txt" apart, Windows does not).
  for (const auto& [key, file] : seen) {
    if (const auto folder = folders.find(key); folder != folders.end()) {
      throw CBuildError("file " + file->shownName + " and the folder of " + folder->second->shownName +
                        " differ only in letter case and would be the same name on Windows");
    }
  }
}

}  // namespace

std::vector<CProductFile> listProductFiles(const fs::path& folder, unsigned codePage,
                                           std::string_view installationDirectory) {
  checkFolder(folder);
  std::vector<CProductFile> files;
  std::error_code error;
  fs::recursive_directory_iterator walk(folder, error);
  for (; !error && walk != fs::recursive_directory_iterator(); walk.increment(error)) {
    const fs::directory_entry& entry = *walk;
    std::error_code kindError;
    if (entry.is_directory(kindError)) {
      continue;
    }
    CProductFile file = describe(folder, entry.path(), codePage, installationDirectory);
    if (!entry.is_regular_file(kindError)) {
      throw CBuildError("cannot read " + entry.path().string() + ": not a regular file");
    }
    files.push_back(std::move(file));
  }
  if (error) {
    throw CBuildError("cannot list " + folder.string() + ": " + error.message());
  }
  if (files.empty()) {
    throw CBuildError("product folder " + folder.string() + " holds no file");
  }
  std::sort(files.begin(), files.end(),
            [](const CProductFile& a, const CProductFile& b) { return a.entryName < b.entryName; });
  checkDistinctOnWindows(files);
  return files;
}

}  // namespace package
