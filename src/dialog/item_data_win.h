// Controls whose items carry reference-counted objects (CBaseRefObject*)
// say so with a marker in their window's user data; the dialog releases
// those objects when its window goes.
#pragma once

#include <windows.h>

#include <cstdint>

inline constexpr std::uintptr_t kTreeItemDataMarker = 0xBAFA9CEE;
inline constexpr std::uintptr_t kComboItemDataMarker = 0x171CDAD7;
inline constexpr std::uintptr_t kListItemDataMarker = 0x3DAF4677;

// Releases the item data of every marked window inside the window (children
// of children too) and empties those controls.
void releaseMarkedItemData(HWND window) noexcept;
