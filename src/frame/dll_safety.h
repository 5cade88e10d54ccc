// The setup is started from a downloads folder, next to whatever else was
// downloaded there: it must never load a library from its own folder.
#pragma once

#include "base/scoped_handle.h"

namespace frame {

// Restricts the library search of this process to System32 and drops the
// current folder from every search.  Called first thing in wWinMain, before
// anything can load a library.
void restrictLibrarySearch();

// Loads a library from System32 only; empty when it is not there.
CScopedModule loadSystemLibrary(const wchar_t* name);

// A function of a library loaded at run time, typed; nullptr when missing.
template <class Function>
Function systemFunction(HMODULE module, const char* name) {
  if (!module) {
    return nullptr;
  }
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace frame
