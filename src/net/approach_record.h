// The sealed form of the alternate server address ("approach"): readable only
// on the machine that wrote it, and refused when damaged.
//
//   bytes 0..15   MD5 of the plain bytes 16.. (nonce, then the address)
//   bytes 16..31  a fresh nonce, enciphered
//   bytes 32..    the address as 8-bit text, enciphered
//
// Bytes 16.. are one RC4 stream keyed with the digest XOR the machine key.
// The nonce makes two records of the same address differ.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/guid.h"
#include "base/random.h"

// 16 bytes that tell this machine from others: its MachineGuid.
using CMachineKey = std::array<std::uint8_t, 16>;

// The GUID's binary layout (first three fields little-endian); all zero when
// the text is not a GUID, so that a machine without one still has a key.
CMachineKey machineKeyFromText(std::wstring_view text);
std::array<std::uint8_t, 16> guidBytes(const CGuid& guid);

std::vector<std::uint8_t> sealApproach(std::string_view address, const CMachineKey& machineKey,
                                       const CRandomValue& nonce);
// The address, or nothing when the record is short or its digest does not
// match (another machine's record, or a damaged one).
std::optional<std::string> openApproach(std::span<const std::uint8_t> record, const CMachineKey& machineKey);
