// The state an installation leaves on the machine, read back from the
// system, and the one checker that compares it with what a scenario expects:
// files and their bytes, registry values, shell links, pending renames.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace install_test {

using CBytes = std::vector<std::uint8_t>;

CBytes textBytes(const std::string& text);
std::optional<CBytes> readFileBytes(const std::wstring& path);

struct CRegistryValue {
  DWORD type = REG_SZ;
  CBytes data;
  friend bool operator==(const CRegistryValue&, const CRegistryValue&) = default;
};
CRegistryValue stringValue(const std::wstring& text);  // with its terminator
CRegistryValue dwordValue(DWORD value);

// Every value of a key below HKEY_LOCAL_MACHINE (64-bit view); nothing when
// the key does not exist.
std::optional<std::map<std::wstring, CRegistryValue>> registryValues(const std::wstring& keyPath);

struct CLinkInfo {
  std::wstring target;
  std::wstring arguments;
  std::wstring description;
  // Nothing: not looked at (Wine's link object does not keep the flag).
  std::optional<bool> runAs = false;
  friend bool operator==(const CLinkInfo&, const CLinkInfo&) = default;
};
std::optional<CLinkInfo> readLink(const std::wstring& linkPath);

// The moves and deletions waiting for the next restart: (source, target),
// "\??\" dropped; the target is empty for a deletion and begins with "!" for
// a move that replaces.
using CPendingRenames = std::vector<std::pair<std::wstring, std::wstring>>;
CPendingRenames pendingRenames();

// Files below a folder, relative names with "\", with their bytes.
std::map<std::wstring, CBytes> filesBelow(const std::wstring& folder);

// What a scenario expects.  Files: the whole content of the folder (nothing
// else may be there) or, with `folderAbsent`, no folder at all.
struct CExpectedFolder {
  std::wstring folder{};
  std::map<std::wstring, std::optional<CBytes>> files{};  // nothing: any bytes
  bool folderAbsent = false;
};
struct CExpectedKey {
  std::wstring path;                                              // below HKEY_LOCAL_MACHINE
  std::optional<std::map<std::wstring, CRegistryValue>> values;  // exactly these; nothing: no key
};
struct CExpectedValue {
  std::wstring keyPath;
  std::wstring name;
  std::optional<CRegistryValue> value;  // nothing: the value must not exist
};
struct CExpectedLink {
  std::wstring path;
  std::optional<CLinkInfo> link;  // nothing: no file there
};
struct CMachineState {
  std::vector<CExpectedFolder> folders;
  std::vector<CExpectedKey> keys;
  std::vector<CExpectedValue> values;
  std::vector<CExpectedLink> links;
  std::vector<std::wstring> hiddenFiles;
  // Exactly these pending renames; nothing: not looked at.
  std::optional<CPendingRenames> pending;
};

// Adds a test failure for every difference.
void expectMachineState(const CMachineState& expected);

}  // namespace install_test
