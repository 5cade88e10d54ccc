// What the elevated copy prepares in the registry before the wizard runs.
#pragma once

// Moves a per-user autostart value "Brantel" to the per-machine Run key; the
// per-user value is deleted only once the per-machine one is written.
void migrateAutostart();

// Creates (or opens) HKEY_LOCAL_MACHINE\SOFTWARE\MAVREN and gives Everyone
// full access to it and to the sub-keys made from now on; sub-keys that exist
// already keep their own lists.  False when either step fails.
bool prepareVendorKey();
