#include "bundle/bundle_files.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <system_error>

#include "base/text.h"
#include "resource/bundle_records.h"

namespace bundle {
namespace {

namespace fs = std::filesystem;

void checkName(const std::string& name, const fs::path& path) {
  if (name.empty() || name.size() >= kBundleNameUnits) {
    throw CBundleError("the name \"" + name + "\" of " + path.string() + " does not fit a bundle record (1 to " +
                       std::to_string(kBundleNameUnits - 1) + " characters)");
  }
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte > 126 || c == '\\') {
      throw CBundleError("the name \"" + name + "\" of " + path.string() +
                         " must be printable ASCII without '\\'");
    }
  }
}

std::string nameBelow(const fs::path& folder, const fs::path& file) {
  return file.lexically_relative(folder).generic_string();
}

void collectFolder(const fs::path& folder, std::vector<CBundleFile>& files) {
  std::error_code error;
  if (!fs::is_directory(folder, error)) {
    throw CBundleError(folder.string() + " is not a folder");
  }
  fs::recursive_directory_iterator it(folder, error);
  for (const fs::recursive_directory_iterator end; !error && it != end; it.increment(error)) {
    const fs::path& path = it->path();
    if (it->is_directory(error)) {
      continue;
    }
    if (!it->is_regular_file(error)) {
      throw CBundleError("cannot read " + path.string() + ": not a regular file");
    }
    const std::string name = nameBelow(folder, path);
    checkName(name, path);
    files.push_back(CBundleFile{name, path});
  }
  if (error) {
    throw CBundleError("cannot list " + folder.string() + ": " + error.message());
  }
}

}  // namespace

std::vector<CBundleFile> collectBundleFiles(const std::vector<fs::path>& folders) {
  std::vector<CBundleFile> files;
  for (const fs::path& folder : folders) {
    collectFolder(folder, files);
  }
  std::map<std::string, const CBundleFile*> seen;
  for (const CBundleFile& file : files) {
    const auto [it, added] = seen.emplace(asciiLowerCase(file.name), &file);
    if (!added) {
      throw CBundleError("duplicate bundle name \"" + file.name + "\": " + it->second->path.string() + " and " +
                         file.path.string());
    }
  }
  std::sort(files.begin(), files.end(), [](const CBundleFile& a, const CBundleFile& b) { return a.name < b.name; });
  return files;
}

std::string readBundleFile(const CBundleFile& file) {
  std::ifstream in(file.path, std::ios::binary);
  if (!in.is_open()) {
    throw CBundleError("cannot read " + file.path.string());
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    throw CBundleError("cannot read " + file.path.string());
  }
  return bytes;
}

}  // namespace bundle
