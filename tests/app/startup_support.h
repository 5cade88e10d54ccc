// What the start-up tests need around the real setup.exe: how Wine is set up
// for it, and the test's own view of the launch block.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/launch_block_layout.h"
#include "base/scoped_handle.h"

namespace startup_test {

// Makes Wine report the given version ("win7", "win10") to setup.exe alone.
void setWineVersionOfSetup(const wchar_t* version);
// Makes Wine refuse to load a library (a DllOverrides entry of "").
void disableLibrary(const wchar_t* name);

std::wstring readTextFile(const std::wstring& path);  // UTF-8 file as UTF-16
bool fileExists(const std::wstring& path);

// The launch block as the test sees it.
class CTestBlock {
public:
  // Creates the block (the test stands in for a first copy) or opens the
  // existing one.
  static CTestBlock createOrOpen();
  bool valid() const { return view_.valid(); }

  void writeSignature(std::uint64_t low = launch_block::kSignatureLow,
                      std::uint64_t high = launch_block::kSignatureHigh);
  std::uint32_t claimed() const;
  void setClaimed(std::uint32_t value);
  void setLaunchRequest(bool requested);
  void setText(std::size_t offset, const std::wstring& text);

private:
  std::uint8_t* bytes() const { return static_cast<std::uint8_t*>(view_.get()); }

  CScopedHandle mapping_;
  CScopedView view_;
};

}  // namespace startup_test
