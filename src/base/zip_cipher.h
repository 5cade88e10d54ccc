// The package container: a 16-byte key field, then the ZIP archive
// enciphered with RC4 under a key derived from that field.
//
// The setup deciphers it at start-up; the package builder enciphers it.  Both
// sides use this file, so the key step can never drift apart between them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zip {

constexpr std::size_t kKeyFieldSize = 16;
// A container of this size or less carries no body worth reading.
constexpr std::size_t kRejectedContainerSize = 20;

using CKeyField = std::array<std::uint8_t, kKeyFieldSize>;
using CPackageKey = std::array<std::uint8_t, 16>;

// The fixed step from the key field to the RC4 key.
CPackageKey derivePackageKey(const CKeyField& keyField);

// Copies the body of a container into `body` and deciphers it there in place.
// False for a container of kRejectedContainerSize bytes or less; `body` then
// holds nothing useful.
bool decipherContainer(const void* container, std::size_t size, std::vector<std::uint8_t>& body);

// The container for a plain archive: the key field, then the enciphered
// archive.
std::vector<std::uint8_t> encipherContainer(const std::vector<std::uint8_t>& archive, const CKeyField& keyField);

}  // namespace zip
