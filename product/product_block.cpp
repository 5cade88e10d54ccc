#include "product/product_block.h"

#include <cstdint>

#include "app/product_interface.h"
#include "app/product_interface.h"

namespace product {

namespace {

std::uint64_t readValue(const std::uint8_t* at) {
  std::uint64_t value = 0;
  for (int i = 7; i >= 0; --i) {
    value = (value << 8) | at[i];
  }
  return value;
}

void writeValue(std::uint8_t* at, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    at[i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

}  // namespace

CProductBlock::CProductBlock(HWND mainWindow)
    : mapping_(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, static_cast<DWORD>(kBlockSize),
                                    kBlockName)) {
  if (!mapping_) {
    return;
  }
  view_.reset(::MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, kBlockSize));
  if (!view_) {
    return;
  }
  auto* block = static_cast<std::uint8_t*>(view_.get());
  writeValue(block + kBlockProcessIdOffset, ::GetCurrentProcessId(), 4);
  writeValue(block + kBlockMainWindowOffset, reinterpret_cast<std::uintptr_t>(mainWindow), 8);
}

bool CProductBlock::exitRequested() const {
  if (!view_) {
    return false;
  }
  const auto* request = static_cast<const std::uint8_t*>(view_.get()) + kBlockExitRequestOffset;
  return readValue(request) == kExitRequestFirst && readValue(request + 8) == kExitRequestSecond;
}

}  // namespace product
