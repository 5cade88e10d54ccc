// Paths a Windows test needs: the build tree and the test data as Windows
// paths, and a fresh folder of its own.
#pragma once

#include <string>

namespace support {

// The Windows name of a unix path: under Wine the unix root is drive Z:.
std::wstring windowsPathOf(const std::string& unixPath);

// The build tree (BRANTEL_BUILD_DIR) as "Z:\...", without a trailing "\";
// empty when the variable is not set.
std::wstring buildDir();

// The source tree's tests/data folder as "Z:\...".
std::wstring testDataDir();

// A new empty folder under the temporary folder, deleted with everything in
// it when the object goes.
class CTempFolder {
public:
  CTempFolder();
  ~CTempFolder();
  CTempFolder(const CTempFolder&) = delete;
  CTempFolder& operator=(const CTempFolder&) = delete;

  const std::wstring& path() const { return path_; }
  // The folder joined with a relative name.
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
  std::wstring path_;
};

}  // namespace support
