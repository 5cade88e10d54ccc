// What the setup knows about its update server for the whole process: the
// maker's default address, an alternate address the server taught an earlier
// run (kept sealed in the registry as "approach"), the product of the latest
// check, and the machine key that binds the sealed address to this machine.
//
// Only one check or download runs at a time, so the state needs no lock.
#pragma once

#include <optional>
#include <string>

#include "base/guid.h"
#include "net/approach_record.h"

namespace net {

struct CServerState {
  std::wstring defaultAddress;
  std::wstring alternateAddress;
  CGuid lastProduct;
  CMachineKey machineKey{};
};

// Built on first use: the default address revealed, the machine key read.
CServerState& serverState();

// HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Cryptography "MachineGuid", read
// from the 64-bit view when the ordinary one lacks it; zero when missing.
CMachineKey readMachineKey();

// Reads "approach" of the profile section "Common" into the alternate
// address; false (the address untouched) when the value is missing, was
// sealed on another machine or is damaged, or holds no HTTPS address.
bool LoadAlternateAddress();
// Seals the address into "approach" with a fresh nonce; without an address
// deletes the value.  False when the profile cannot be written.
bool StoreAlternateAddress(const std::optional<std::wstring>& address);

}  // namespace net
