// A product folder of the tests' own in a fresh temporary directory, removed
// with everything in it at the end of the test.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace package_test {

class CTempFolder {
public:
  CTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "brantel-package-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
  }
  ~CTempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  CTempFolder(const CTempFolder&) = delete;
  CTempFolder& operator=(const CTempFolder&) = delete;

  const std::filesystem::path& root() const { return root_; }

  // Writes a file below the root, making its folders.
  std::filesystem::path write(const std::string& relative, const std::vector<std::uint8_t>& bytes) const {
    const std::filesystem::path path = root_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  std::filesystem::path write(const std::string& relative, const std::string& text) const {
    return write(relative, std::vector<std::uint8_t>(text.begin(), text.end()));
  }

private:
  std::filesystem::path root_;
};

inline std::vector<std::uint8_t> readFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace package_test
