// What passes between the setup and the installed product, fixed in one place.
// The setup and the stand-in product both build against these values; the real
// product must keep them too.
#pragma once

#include <cstddef>
#include <cstdint>

namespace product {

// The product's main executable in the installation directory.
inline constexpr wchar_t kExecutableName[] = L"Brantel.exe";
// Name of the product (application name, Run value, links).
inline constexpr wchar_t kName[] = L"Brantel";

// Start switches.
inline constexpr wchar_t kSwitchJustInstalled[] = L"/justinstalled";
inline constexpr wchar_t kSwitchRegRun[] = L"/regrun";
inline constexpr wchar_t kSwitchUninstall[] = L"/uninstall";
inline constexpr wchar_t kSwitchSection[] = L"/section";

// The per-machine Run value "Brantel": "\"<program path>\" /regrun".
inline constexpr wchar_t kRunValueFormat[] = L"\"%s\" %s";
// The uninstall entry's "UninstallString":
// "\"<program path>\" /uninstall /section:<GUID, upper case, no braces>".
inline constexpr wchar_t kUninstallStringFormat[] = L"\"%s\" /uninstall /section:%s";

// The product block: created by the running product, read and written by the
// setup to ask it to exit.  All fields little-endian.
inline constexpr wchar_t kBlockName[] = L"Local\\4b075600-8df1-47f4-8303-340f1d472553";
inline constexpr std::size_t kBlockSize = 26544;
inline constexpr std::size_t kBlockProcessIdOffset = 0;     // 4 bytes
inline constexpr std::size_t kBlockMainWindowOffset = 48;   // 8 bytes
inline constexpr std::size_t kBlockExitRequestOffset = 60;  // 16 bytes: two 64-bit values
inline constexpr std::size_t kBlockExitRequestSize = 16;
// The exit request the setup writes there, bytes 60-67 and 68-75.
inline constexpr std::uint64_t kExitRequestFirst = 0x4732118858C99985ull;
inline constexpr std::uint64_t kExitRequestSecond = 0xA6E9321846FEE498ull;

// The exit message posted to the product's main window once per second.
inline constexpr unsigned kExitMessage = 0x8000;
inline constexpr std::uint64_t kExitMessageWParam = 0xFFFFFFFFDAC52A2Full;
inline constexpr std::intptr_t kExitMessageLParam = 0;

// After the block has gone, how long the setup waits for the process to end.
inline constexpr unsigned kExitProcessWaitMs = 10000;

}  // namespace product
