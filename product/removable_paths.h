// Which of the paths a manifest lists the uninstall may delete.
//
// The manifest is a file in the installation folder; the uninstall believes
// it only where the installation puts things: inside the installation folder,
// and the links directly in the start menu's programs folder and on the
// desktop.  Whatever else a damaged or doctored manifest names ("..\x", a
// path in another folder, a relative path) is left alone.
#pragma once

#include <string>
#include <vector>

namespace product {

class CRemovablePaths {
public:
  // `linkFolders`: the folders whose links the installation made.
  CRemovablePaths(const std::wstring& installationDirectory, const std::vector<std::wstring>& linkFolders);

  // The paths as the installation sees them: the folders of the system.
  static CRemovablePaths ofInstallation(const std::wstring& installationDirectory);

  // The path resolved ("." and ".." folded, "/" made "\"), or empty when the
  // uninstall must not delete it.
  std::wstring removable(const std::wstring& listedPath) const;

  // Whether a folder lies below the installation folder (not the folder
  // itself); both resolved.
  bool isBelowInstallation(const std::wstring& resolvedFolder) const;

  const std::wstring& installationDirectory() const { return installationDirectory_; }

private:
  std::wstring installationDirectory_;
  std::vector<std::wstring> linkFolders_;
};

}  // namespace product
