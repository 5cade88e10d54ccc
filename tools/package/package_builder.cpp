#include "package/package_builder.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <random>

#include "base/zip_digest.h"
#include "package/product_files.h"

namespace package {

namespace {

struct CFileClose {
  void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};

std::vector<std::uint8_t> readWhole(const std::filesystem::path& path) {
  std::unique_ptr<std::FILE, CFileClose> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    throw CBuildError("cannot read " + path.string() + ": " + std::strerror(errno));
  }
  std::vector<std::uint8_t> bytes;
  std::uint8_t chunk[1 << 16];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof(chunk), file.get())) > 0) {
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  if (std::ferror(file.get())) {
    throw CBuildError("cannot read " + path.string() + ": " + std::strerror(errno));
  }
  return bytes;
}

// The file's modification time in the archive's MS-DOS form (UTC; the form
// starts in 1980).
std::uint32_t dosModificationTime(const std::filesystem::path& path) {
  struct stat info{};
  std::time_t seconds = 0;
  if (::stat(path.c_str(), &info) == 0) {
    seconds = info.st_mtime;
  }
  std::tm parts{};
  gmtime_r(&seconds, &parts);
  if (parts.tm_year < 80) {
    return (1u << 5 | 1u) << 16;
  }
  const auto date = static_cast<std::uint32_t>((parts.tm_year - 80) << 9 | (parts.tm_mon + 1) << 5 | parts.tm_mday);
  const auto time = static_cast<std::uint32_t>(parts.tm_hour << 11 | parts.tm_min << 5 | parts.tm_sec / 2);
  return date << 16 | time;
}

// The ZIP signature's first two bytes, which no package may begin with.
bool looksLikeZip(const std::vector<std::uint8_t>& container) {
  return container.size() >= zip::kKeyFieldSize + 2 && container[zip::kKeyFieldSize] == 'P' &&
         container[zip::kKeyFieldSize + 1] == 'K';
}

std::vector<std::uint8_t> encipher(const std::vector<std::uint8_t>& archive, const CPackOptions& options) {
  if (options.keyField) {
    std::vector<std::uint8_t> container = zip::encipherContainer(archive, *options.keyField);
    if (looksLikeZip(container)) {
      throw CBuildError("under this key field the package would begin with \"PK\" like a plain ZIP archive; "
                        "choose another");
    }
    return container;
  }
  for (;;) {
    std::vector<std::uint8_t> container = zip::encipherContainer(archive, options.draw());
    if (!looksLikeZip(container)) {
      return container;
    }
  }
}

}  // namespace

zip::CKeyField randomKeyField() {
  std::random_device entropy;
  zip::CKeyField field{};
  for (auto& byte : field) {
    byte = static_cast<std::uint8_t>(entropy());
  }
  return field;
}

CPackResult buildPackage(const std::filesystem::path& folder, const CPackOptions& options) {
  const std::vector<CProductFile> files = listProductFiles(folder, options.codePage, options.installationDirectory);
  CPackResult result;
  CZipWriter writer;
  for (const CProductFile& file : files) {
    const std::vector<std::uint8_t> bytes = readWhole(file.path);
    CPackedFile packed;
    packed.shownName = file.shownName;
    packed.bytesIn = bytes.size();
    try {
      const CAddedFile added = writer.addFile(file.entryName, bytes, dosModificationTime(file.path));
      packed.method = added.method;
      packed.bytesOut = added.storedSize;
    } catch (const CZipLimitError& limit) {
      throw CBuildError("cannot pack " + file.shownName + ": " + limit.what());
    }
    result.bytesIn += bytes.size();
    result.files.push_back(packed);
  }
  std::vector<std::uint8_t> archive;
  try {
    archive = writer.finish();
  } catch (const CZipLimitError& limit) {
    throw CBuildError(std::string("cannot pack the folder: ") + limit.what());
  }
  if (!zip::sealArchive(archive)) {
    throw CBuildError("cannot record the package's digest");
  }
  result.container = encipher(archive, options);
  return result;
}

}  // namespace package
