// Installation scenarios as data: the packages, the runs in their order with
// what each must report, and the machine state expected afterwards.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "base/ref_ptr.h"
#include "base/zip_archive.h"
#include "installer/install_task.h"
#include "installer/machine_state.h"

namespace install_test {

struct CPackageFile {
  std::string name;  // as stored, "/" between folders
  CBytes bytes{};
  bool damaged = false;  // stored with a wrong CRC-32: cannot be extracted
};
using CPackage = std::vector<CPackageFile>;

// A change to the archive's bytes, made by hand.
using CArchiveDamage = std::function<void(std::vector<std::uint8_t>& archive)>;
struct CDamage {
  // Before the digest is recorded: only the walk or the extraction can
  // catch it.
  CArchiveDamage beforeDigest{};
  // After it: the digest must catch it.
  CArchiveDamage afterDigest{};
  bool withoutDigest = false;
};

// The package's archive as the package builder writes it: the files, then
// the digest.
TRefPtr<zip::CZIPFile> openPackage(const CPackage& files, const CDamage& damage = {});

struct CRun {
  CPackage package{};
  CDamage damage{};
  bool desktopIcon = true;
  // Changes to the task the page would fill.
  std::function<void(setup::XInstallTask::CMessage&)> adjustTask{};
  // A file of the installation directory held open, without delete sharing,
  // while the run goes.
  std::wstring heldOpen{};
  int refuseProgressAfter = -1;
  // What the run reports: an error text, or (when empty) the done payload.
  std::wstring error{};
  bool restartNeeded = false;
  // The main program path and directory of the done payload; empty: the
  // page's.
  std::wstring mainProgram{};
  std::wstring directory{};
};

// Runs one installation and checks what it reported.
void runAndCheck(const CRun& run);

// The product's installation directory, program, links and uninstall section.
std::wstring installationDirectory();
std::wstring inInstallation(const std::wstring& relativeName);
std::wstring startMenuLink();
std::wstring desktopLink();
std::wstring uninstallKey();

// The state after a successful page installation of these installed files
// (relative names with "\"): the folder holding exactly them and the
// manifest, the uninstall section with exactly its four values, the links.
CMachineState installedState(const std::map<std::wstring, CBytes>& installed, std::uint64_t bytesTotal,
                             bool desktopIcon = true);
// The state when nothing of the product is on the machine.
CMachineState nothingInstalled();

// The manifest lists exactly these paths, in this order, then itself.
void expectManifest(const std::vector<std::wstring>& paths);

}  // namespace install_test
