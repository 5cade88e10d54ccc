// Where the product goes and how it is registered with the system: the
// program folder, the uninstall section, shell links, and the removal of a
// side-by-side folder.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "base/com_apartment.h"
#include "base/guid.h"

namespace setup {

// Whether this is a 64-bit Windows: decided once per process.  The setup is
// a 64-bit program, which the system never runs under WOW64, so that
// question alone would answer "no" on every 64-bit system; a 64-bit process
// therefore answers "yes" by itself, and a 32-bit one asks IsWow64Process
// (looked up at run time; "no" when missing or failing).
bool is64BitSystem();

// The program folder: the known program files folder on a 32-bit system,
// "ProgramFilesDir" of the 64-bit registry view on a 64-bit one.  Throws
// XExceptionGeneral "Failed to determine a program folder location" when
// neither names one.
std::wstring DecideProgramFolder(bool is64Bit);

// Whether the uninstall section can be created or opened; a key made only
// for this check is deleted again.
bool CheckUninstallSection(const CGuid& uninstallEntry, bool is64Bit);

// Replaces the values of the uninstall section (created when missing) with
// "DisplayName", "UninstallString", the publisher line's values and, when
// not 0, "EstimatedSize".  Failures are ignored.
void WriteUninstallSection(const CGuid& uninstallEntry, std::wstring_view displayName,
                           std::wstring_view uninstallCommand, bool is64Bit, std::wstring_view publisherLine,
                           std::uint32_t sizeKiB);

// Saves a shell link; `arguments` may be null.  COM must be initialised on
// the calling thread (a CComApartment).  The result of saving, or of the
// first step that failed.
HRESULT CreateShortcut(const std::wstring& target, const std::wstring& linkPath, const std::wstring& description,
                       const wchar_t* arguments, bool runAsAdministrator);

// Deletes the files directly inside the folder (not those whose name begins
// with "."), then removes the folder, which only succeeds when nothing else
// is left in it.  Failures are ignored.
void RemoveFolderFiles(const std::wstring& folder);

}  // namespace setup
