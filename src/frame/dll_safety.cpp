#include "frame/dll_safety.h"

namespace frame {

void restrictLibrarySearch() {
  ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  ::SetSearchPathMode(BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT);
  ::SetDllDirectoryW(L"");
}

CScopedModule loadSystemLibrary(const wchar_t* name) {
  return CScopedModule(::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
}

}  // namespace frame
