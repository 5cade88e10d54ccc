#include "startup_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace startup_test {
namespace {

void setString(HKEY root, const std::wstring& path, const wchar_t* name, const wchar_t* value) {
  CScopedKey key;
  ASSERT_EQ(::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.receive(), nullptr),
            ERROR_SUCCESS);
  DWORD size = static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t));
  ASSERT_EQ(::RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), size), ERROR_SUCCESS);
}

}  // namespace

void setWineVersionOfSetup(const wchar_t* version) {
  setString(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\setup.exe", L"Version", version);
}

void disableLibrary(const wchar_t* name) {
  setString(HKEY_CURRENT_USER, L"Software\\Wine\\DllOverrides", name, L"");
}

std::wstring readTextFile(const std::wstring& path) {
  CScopedFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
  if (!file) {
    return {};
  }
  std::vector<char> bytes(::GetFileSize(file.get(), nullptr));
  DWORD read = 0;
  ::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  std::wstring text(read, L'\0');
  int units = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(read), text.data(),
                                    static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(units));
  return text;
}

bool fileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

CTestBlock CTestBlock::createOrOpen() {
  CTestBlock block;
  block.mapping_.reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            static_cast<DWORD>(launch_block::kSize), launch_block::kName));
  if (block.mapping_) {
    block.view_.reset(::MapViewOfFile(block.mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, launch_block::kSize));
  }
  return block;
}

void CTestBlock::writeSignature(std::uint64_t low, std::uint64_t high) {
  std::memcpy(bytes() + launch_block::kSignatureOffset, &low, 8);
  std::memcpy(bytes() + launch_block::kSignatureOffset + 8, &high, 8);
}

std::uint32_t CTestBlock::claimed() const {
  std::uint32_t value = 0;
  std::memcpy(&value, bytes() + launch_block::kClaimedOffset, 4);
  return value;
}

void CTestBlock::setClaimed(std::uint32_t value) { std::memcpy(bytes() + launch_block::kClaimedOffset, &value, 4); }

void CTestBlock::setLaunchRequest(bool requested) { bytes()[launch_block::kLaunchRequestOffset] = requested ? 1 : 0; }

void CTestBlock::setText(std::size_t offset, const std::wstring& text) {
  std::memset(bytes() + offset, 0, launch_block::kPathUnits * 2);
  for (std::size_t i = 0; i < text.size() && i + 1 < launch_block::kPathUnits; ++i) {
    bytes()[offset + 2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
    bytes()[offset + 2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
  }
}

}  // namespace startup_test
