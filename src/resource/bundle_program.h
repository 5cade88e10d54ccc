// The program's own bundle, handed over by the static initialiser that the
// bundle builder generates beside the enciphered block.
#pragma once

#include <cstddef>
#include <cstdint>

// Deciphers the block in place with its 16-byte key, once, and indexes its
// records.  Runs before wWinMain: it loads no library and throws nothing.
void installProgramBundle(std::uint8_t* block, std::size_t size, const std::uint8_t (&key)[16]) noexcept;
