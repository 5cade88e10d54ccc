// A ui/ folder on disk used as the program's resource bundle: its markup,
// string table and pictures, read afresh on every load.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

class CUiFolderBundle {
public:
  explicit CUiFolderBundle(std::filesystem::path folder) : folder_(std::move(folder)) {}
  CUiFolderBundle(const CUiFolderBundle&) = delete;
  CUiFolderBundle& operator=(const CUiFolderBundle&) = delete;
  ~CUiFolderBundle();

  // Reads every file of the folder and indexes them in place of the
  // program's bundle; the string table is read again on the next lookup.
  // A folder the bundle builder would refuse throws XExceptionResource.
  void load();

private:
  std::filesystem::path folder_;
  std::vector<std::uint8_t> block_;
};
