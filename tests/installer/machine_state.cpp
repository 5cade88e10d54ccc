#include "installer/machine_state.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/com_ptr.h"
#include "base/utf8.h"
#include "base/scoped_handle.h"
#include "installer/system_registration.h"

namespace install_test {

namespace {

constexpr wchar_t kSessionManager[] = L"System\\CurrentControlSet\\Control\\Session Manager";

std::string narrow(const std::wstring& text) { return toUtf8(text); }

std::wstring withoutNtPrefix(std::wstring path) {
  if (path.starts_with(L"\\??\\")) {
    path.erase(0, 4);
  } else if (path.starts_with(L"!\\??\\")) {
    path.erase(1, 4);
  }
  return path;
}

// "C:\dir\*.tmp" stands for any temporary file directly in C:\dir.
bool pathMatches(const std::wstring& pattern, const std::wstring& path) {
  const std::size_t star = pattern.find(L'*');
  if (star == std::wstring::npos) {
    return ::CompareStringOrdinal(pattern.c_str(), -1, path.c_str(), -1, TRUE) == CSTR_EQUAL;
  }
  const std::wstring head = pattern.substr(0, star);
  const std::wstring tail = pattern.substr(star + 1);
  if (path.size() < head.size() + tail.size()) {
    return false;
  }
  const std::wstring middle = path.substr(head.size(), path.size() - head.size() - tail.size());
  return pathMatches(head, path.substr(0, head.size())) && pathMatches(tail, path.substr(path.size() - tail.size())) &&
         middle.find(L'\\') == std::wstring::npos;
}

std::string describe(const std::optional<std::map<std::wstring, CRegistryValue>>& values) {
  if (!values) {
    return "(no key)";
  }
  std::string text;
  for (const auto& [name, value] : *values) {
    text += narrow(name) + " type " + std::to_string(value.type) + " " + std::to_string(value.data.size()) + " bytes; ";
  }
  return text;
}

void checkFolder(const CExpectedFolder& expected) {
  const DWORD attributes = ::GetFileAttributesW(expected.folder.c_str());
  if (expected.folderAbsent) {
    EXPECT_EQ(attributes, INVALID_FILE_ATTRIBUTES) << narrow(expected.folder) << " should not exist";
    return;
  }
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << narrow(expected.folder) << " is missing";
  const std::map<std::wstring, CBytes> actual = filesBelow(expected.folder);
  for (const auto& [name, bytes] : expected.files) {
    const auto found = actual.find(name);
    if (found == actual.end()) {
      ADD_FAILURE() << "missing file " << narrow(name) << " in " << narrow(expected.folder);
    } else {
      EXPECT_TRUE(!bytes || found->second == *bytes)
          << "other bytes in " << narrow(name) << " (" << found->second.size() << " bytes, expected "
          << (bytes ? bytes->size() : 0) << ")";
    }
  }
  for (const auto& [name, bytes] : actual) {
    EXPECT_TRUE(expected.files.contains(name)) << "unexpected file " << narrow(name) << " in "
                                               << narrow(expected.folder);
  }
}

void checkPending(const CPendingRenames& expected) {
  const CPendingRenames actual = pendingRenames();
  ASSERT_EQ(actual.size(), expected.size()) << "pending renames differ, first actual "
                                            << (actual.empty() ? "" : narrow(actual[0].first));
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_TRUE(pathMatches(expected[i].first, actual[i].first)) << narrow(actual[i].first);
    EXPECT_TRUE(pathMatches(expected[i].second, actual[i].second)) << narrow(actual[i].second);
  }
}

}  // namespace

CBytes textBytes(const std::string& text) { return CBytes(text.begin(), text.end()); }

std::optional<CBytes> readFileBytes(const std::wstring& path) {
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  if (!file) {
    return std::nullopt;
  }
  return CBytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

CRegistryValue stringValue(const std::wstring& text) {
  CRegistryValue value;
  value.type = REG_SZ;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.c_str());
  value.data.assign(bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
  return value;
}

CRegistryValue dwordValue(DWORD number) {
  CRegistryValue value;
  value.type = REG_DWORD;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&number);
  value.data.assign(bytes, bytes + sizeof(number));
  return value;
}

std::optional<std::map<std::wstring, CRegistryValue>> registryValues(const std::wstring& keyPath) {
  CScopedKey key;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, key.receive()) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::map<std::wstring, CRegistryValue> values;
  for (DWORD index = 0;; ++index) {
    wchar_t name[1025];
    DWORD nameLength = 1025;
    CRegistryValue value;
    value.data.resize(65536);
    DWORD size = static_cast<DWORD>(value.data.size());
    if (::RegEnumValueW(key.get(), index, name, &nameLength, nullptr, &value.type, value.data.data(), &size) !=
        ERROR_SUCCESS) {
      break;
    }
    value.data.resize(size);
    values.emplace(std::wstring(name, nameLength), std::move(value));
  }
  return values;
}

std::optional<CLinkInfo> readLink(const std::wstring& linkPath) {
  if (::GetFileAttributesW(linkPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
    return std::nullopt;
  }
  const CComApartment com;
  TComPtr<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.receiveVoid()))) {
    ADD_FAILURE() << "no shell link object";
    return CLinkInfo{};
  }
  const TComPtr<IPersistFile> file = link.query<IPersistFile>();
  if (!file || FAILED(file->Load(linkPath.c_str(), STGM_READ))) {
    ADD_FAILURE() << "cannot load " << narrow(linkPath);
    return CLinkInfo{};
  }
  CLinkInfo info;
  wchar_t text[1024] = {};
  if (SUCCEEDED(link->GetPath(text, 1024, nullptr, SLGP_RAWPATH))) {
    info.target = text;
  }
  text[0] = 0;
  if (SUCCEEDED(link->GetArguments(text, 1024))) {
    info.arguments = text;
  }
  text[0] = 0;
  if (SUCCEEDED(link->GetDescription(text, 1024))) {
    info.description = text;
  }
  if (const TComPtr<IShellLinkDataList> data = link.query<IShellLinkDataList>()) {
    DWORD flags = 0;
    info.runAs = SUCCEEDED(data->GetFlags(&flags)) && (flags & SLDF_RUNAS_USER) != 0;
  }
  return info;
}

CPendingRenames pendingRenames() {
  CPendingRenames renames;
  const auto values = registryValues(kSessionManager);
  if (!values) {
    return renames;
  }
  const auto found = values->find(L"PendingFileRenameOperations");
  if (found == values->end()) {
    return renames;
  }
  const auto* text = reinterpret_cast<const wchar_t*>(found->second.data.data());
  const std::size_t length = found->second.data.size() / sizeof(wchar_t);
  std::vector<std::wstring> strings;
  for (std::size_t at = 0; at < length;) {
    const std::wstring one(text + at, wcsnlen(text + at, length - at));
    at += one.size() + 1;
    strings.push_back(one);
  }
  // The list ends with an empty string after the last pair.
  for (std::size_t i = 0; i + 1 < strings.size(); i += 2) {
    if (strings[i].empty()) {
      break;
    }
    renames.emplace_back(withoutNtPrefix(strings[i]), withoutNtPrefix(strings[i + 1]));
  }
  return renames;
}

std::map<std::wstring, CBytes> filesBelow(const std::wstring& folder) {
  std::map<std::wstring, CBytes> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(std::filesystem::path(folder), error)) {
    if (entry.is_regular_file()) {
      const std::wstring name = entry.path().lexically_relative(std::filesystem::path(folder)).wstring();
      files.emplace(name, readFileBytes(entry.path().wstring()).value_or(CBytes{}));
    }
  }
  return files;
}

void expectMachineState(const CMachineState& expected) {
  for (const CExpectedFolder& folder : expected.folders) {
    checkFolder(folder);
  }
  for (const CExpectedKey& key : expected.keys) {
    const auto actual = registryValues(key.path);
    EXPECT_TRUE(actual == key.values) << narrow(key.path) << ": " << describe(actual) << " expected "
                                      << describe(key.values);
  }
  for (const CExpectedValue& value : expected.values) {
    const auto values = registryValues(value.keyPath);
    std::optional<CRegistryValue> actual;
    if (values && values->contains(value.name)) {
      actual = values->at(value.name);
    }
    EXPECT_TRUE(actual == value.value) << narrow(value.keyPath) << " " << narrow(value.name);
  }
  for (const CExpectedLink& link : expected.links) {
    const std::optional<CLinkInfo> actual = readLink(link.path);
    EXPECT_EQ(actual.has_value(), link.link.has_value()) << narrow(link.path);
    if (actual && link.link) {
      EXPECT_TRUE(pathMatches(link.link->target, actual->target)) << narrow(actual->target);
      EXPECT_EQ(narrow(actual->arguments), narrow(link.link->arguments)) << narrow(link.path);
      EXPECT_EQ(narrow(actual->description), narrow(link.link->description)) << narrow(link.path);
      if (link.link->runAs) {
        EXPECT_EQ(actual->runAs, link.link->runAs) << narrow(link.path);
      }
    }
  }
  for (const std::wstring& path : expected.hiddenFiles) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN) != 0) << narrow(path);
  }
  if (expected.pending) {
    checkPending(*expected.pending);
  }
}

}  // namespace install_test
