// The launch block: the small shared section through which the first copy of
// the setup and its elevated second copy talk.  Little-endian, 2048 bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace launch_block {

inline constexpr wchar_t kName[] = L"Local\\f00c80fa-8e6f-4757-9771-796929c0873a";
inline constexpr std::size_t kSize = 2048;

inline constexpr std::size_t kSignatureOffset = 0;  // two 64-bit values
inline constexpr std::uint64_t kSignatureLow = 0x4DF5FE41B5A58EEDull;
inline constexpr std::uint64_t kSignatureHigh = 0xE9DEE8748936A0A8ull;
inline constexpr std::size_t kClaimedOffset = 16;         // 32-bit, 1 once taken
inline constexpr std::size_t kLaunchRequestOffset = 20;   // byte, 1 = start the program
inline constexpr std::size_t kProgramPathOffset = 22;     // UTF-16, 260 units with terminator
inline constexpr std::size_t kWorkingDirOffset = 542;     // UTF-16, 260 units with terminator
inline constexpr std::size_t kPathUnits = 260;

}  // namespace launch_block
