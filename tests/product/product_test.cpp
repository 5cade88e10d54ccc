// The stand-in product's side of the exchanges with the setup, under Wine:
// the product block while it runs, the two ways of asking it to exit, the
// switch that makes it ignore them, and the start log.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/product_interface.h"
#include "base/scoped_handle.h"
#include "app/product_interface.h"
#include "support/paths.h"
#include "support/polling.h"
#include "support/process.h"

namespace {

std::wstring productPath() { return support::buildDir() + L"\\product\\Brantel.exe"; }

// The block as the setup opens it: create-or-open with its size.
struct CBlockView {
  CScopedHandle mapping;
  CScopedView view;
  bool existed = false;
  std::uint8_t* bytes() const { return static_cast<std::uint8_t*>(view.get()); }
};

CBlockView openBlock() {
  CBlockView block;
  block.mapping.reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                           static_cast<DWORD>(product::kBlockSize), product::kBlockName));
  block.existed = ::GetLastError() == ERROR_ALREADY_EXISTS;
  if (block.mapping) {
    block.view.reset(::MapViewOfFile(block.mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, product::kBlockSize));
  }
  return block;
}

bool blockExists() { return openBlock().existed; }

std::uint64_t readLittleEndian(const std::uint8_t* at, int bytes) {
  std::uint64_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) {
    value = (value << 8) | at[i];
  }
  return value;
}

void writeExitRequest(std::uint8_t* block) {
  std::uint8_t* request = block + product::kBlockExitRequestOffset;
  for (int i = 0; i < 8; ++i) {
    request[i] = static_cast<std::uint8_t>(product::kExitRequestFirst >> (8 * i));
    request[8 + i] = static_cast<std::uint8_t>(product::kExitRequestSecond >> (8 * i));
  }
}

// Starts the product and waits for its block; the block's process id and
// window (which must belong to that process).
struct CRunningProduct {
  support::CProcess process;
  HWND window = nullptr;
};

CRunningProduct startProduct(const std::vector<std::wstring>& arguments) {
  CRunningProduct running;
  running.process = support::startProcess(productPath(), arguments);
  EXPECT_TRUE(running.process.started());
  EXPECT_TRUE(ui::pollUntil(10000, blockExists)) << "no product block";
  // The block and the window appear together; give the window a moment.
  EXPECT_TRUE(ui::pollUntil(5000, [&running] {
    const CBlockView block = openBlock();
    running.window = reinterpret_cast<HWND>(readLittleEndian(block.bytes() + product::kBlockMainWindowOffset, 8));
    return readLittleEndian(block.bytes() + product::kBlockProcessIdOffset, 4) == running.process.id() &&
           ::IsWindow(running.window);
  }));
  DWORD windowProcess = 0;
  ::GetWindowThreadProcessId(running.window, &windowProcess);
  EXPECT_EQ(windowProcess, running.process.id());
  return running;
}

TEST(StandInProduct, EndsWhenTheExitRequestIsWrittenIntoItsBlock) {
  CRunningProduct running = startProduct({L"/justinstalled"});
  {
    const CBlockView block = openBlock();
    writeExitRequest(block.bytes());
  }
  EXPECT_EQ(running.process.wait(10000), std::optional<DWORD>(0));
  EXPECT_FALSE(blockExists());
}

TEST(StandInProduct, EndsOnTheExitMessage) {
  CRunningProduct running = startProduct({L"/regrun"});
  // Only the exact message: another wParam is not an exit request.
  ::PostMessageW(running.window, product::kExitMessage, 1, 0);
  EXPECT_FALSE(running.process.wait(600).has_value());
  ::PostMessageW(running.window, product::kExitMessage, static_cast<WPARAM>(product::kExitMessageWParam),
                 product::kExitMessageLParam);
  EXPECT_EQ(running.process.wait(10000), std::optional<DWORD>(0));
}

TEST(StandInProduct, IgnoreExitKeepsItRunning) {
  CRunningProduct running = startProduct({L"--ignore-exit"});
  {
    const CBlockView block = openBlock();
    writeExitRequest(block.bytes());
  }
  ::PostMessageW(running.window, product::kExitMessage, static_cast<WPARAM>(product::kExitMessageWParam), 0);
  EXPECT_FALSE(running.process.wait(1500).has_value());
  EXPECT_TRUE(blockExists());
  running.process.terminate();
}

TEST(StandInProduct, NotesEveryStartInItsLog) {
  support::CTempFolder folder;
  const std::wstring log = folder / L"starts.log";
  ASSERT_TRUE(::SetEnvironmentVariableW(L"BRANTEL_PRODUCT_LOG", log.c_str()));
  for (const wchar_t* start : {product::kSwitchJustInstalled, product::kSwitchRegRun}) {
    CRunningProduct running = startProduct({start});
    ::PostMessageW(running.window, product::kExitMessage, static_cast<WPARAM>(product::kExitMessageWParam), 0);
    ASSERT_TRUE(running.process.wait(10000).has_value());
  }
  std::ifstream file(std::filesystem::path(log), std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "/justinstalled\r\n/regrun\r\n");
}

}  // namespace
