#include "app/launch_block.h"

#include <cstring>

#include "app/launch_block_layout.h"

namespace {

using namespace launch_block;

std::wstring readField(const std::uint8_t* field) {
  // The other copy wrote this: stop at the terminator or at the field's end,
  // whichever comes first.
  std::wstring text;
  for (std::size_t i = 0; i < kPathUnits; ++i) {
    wchar_t unit = static_cast<wchar_t>(field[2 * i] | field[2 * i + 1] << 8);
    if (unit == 0) {
      break;
    }
    text.push_back(unit);
  }
  return text;
}

void writeField(std::uint8_t* field, const std::wstring& text) {
  std::memset(field, 0, kPathUnits * 2);
  std::size_t units = text.size() < kPathUnits ? text.size() : kPathUnits - 1;
  for (std::size_t i = 0; i < units; ++i) {
    field[2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
    field[2 * i + 1] = static_cast<std::uint8_t>((text[i] >> 8) & 0xFF);
  }
}

}  // namespace

CLaunchBlock CLaunchBlock::open() {
  CLaunchBlock block;
  block.mapping_.reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            static_cast<DWORD>(kSize), kName));
  if (!block.mapping_) {
    return block;
  }
  bool existed = ::GetLastError() == ERROR_ALREADY_EXISTS;
  block.view_.reset(::MapViewOfFile(block.mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, kSize));
  if (!block.view_) {
    block.mapping_.reset();
    return block;
  }
  block.role_ = existed ? Role::Second : Role::First;
  return block;
}

void CLaunchBlock::initialise() {
  std::memset(bytes(), 0, kSize);
  std::memcpy(bytes() + kSignatureOffset, &kSignatureLow, 8);
  std::memcpy(bytes() + kSignatureOffset + 8, &kSignatureHigh, 8);
}

bool CLaunchBlock::claim() {
  if (role_ != Role::Second) {
    return false;
  }
  std::uint64_t low = 0;
  std::uint64_t high = 0;
  std::memcpy(&low, bytes() + kSignatureOffset, 8);
  std::memcpy(&high, bytes() + kSignatureOffset + 8, 8);
  if (low != kSignatureLow || high != kSignatureHigh) {
    return false;
  }
  auto* claimed = reinterpret_cast<volatile LONG*>(bytes() + kClaimedOffset);
  return ::InterlockedCompareExchange(claimed, 1, 0) == 0;
}

void CLaunchBlock::setLaunchRequest(const std::wstring& programPath, const std::wstring& workingDirectory) {
  writeField(bytes() + kProgramPathOffset, programPath);
  writeField(bytes() + kWorkingDirOffset, workingDirectory);
  bytes()[kLaunchRequestOffset] = 1;
}

bool CLaunchBlock::launchRequested() const { return bytes()[kLaunchRequestOffset] != 0; }

std::wstring CLaunchBlock::programPath() const { return readField(bytes() + kProgramPathOffset); }

std::wstring CLaunchBlock::workingDirectory() const { return readField(bytes() + kWorkingDirOffset); }
