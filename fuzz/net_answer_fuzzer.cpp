// Throws arbitrary bytes at what the version check reads from the outside:
// the "ver" attribute of the server's answer and the sealed "approach" record
// kept in the registry.  Neither may crash; a record that opens gives back an
// address that seals and opens again to itself; a record sealed for one
// machine never opens on another, and a changed byte is always noticed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "net/approach_record.h"
#include "net/version_answer.h"

namespace {

void check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

constexpr CMachineKey kThisMachine{0x3C, 0x11, 0x8E, 0x42, 0x07, 0xD9, 0x65, 0xA0,
                                  0x1F, 0x72, 0xC4, 0x2B, 0x90, 0x5D, 0xE8, 0x36};
constexpr CMachineKey kOtherMachine{0x3C, 0x11, 0x8E, 0x42, 0x07, 0xD9, 0x65, 0xA0,
                                   0x1F, 0x72, 0xC4, 0x2B, 0x90, 0x5D, 0xE8, 0x37};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The attribute as UTF-16 units, two bytes each.
  std::wstring text;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
  }
  parseVersionAnswer(text);

  // Bytes from the registry: opening never crashes, and what opens seals
  // and opens again to itself.
  const std::span<const std::uint8_t> bytes(data, size);
  if (const auto address = openApproach(bytes, kThisMachine)) {
    const auto resealed = sealApproach(*address, kThisMachine, CRandomValue{});
    const auto reopened = openApproach(resealed, kThisMachine);
    check(reopened && *reopened == *address);
  }

  // The bytes as an address, sealed here: it opens on this machine only, and
  // any one changed byte of the record makes it refused.
  const std::string address(reinterpret_cast<const char*>(data), size);
  CRandomValue nonce{};
  for (std::size_t i = 0; i < nonce.size() && i < size; ++i) {
    nonce[i] = data[size - 1 - i];
  }
  std::vector<std::uint8_t> record = sealApproach(address, kThisMachine, nonce);
  const auto opened = openApproach(record, kThisMachine);
  check(opened && *opened == address);
  check(!openApproach(record, kOtherMachine));
  record[size % record.size()] ^= static_cast<std::uint8_t>(size == 0 ? 1 : data[0] | 1);
  check(!openApproach(record, kThisMachine));
  return 0;
}
