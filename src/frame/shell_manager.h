// The framework's shell manager: holds the shell's allocator for item-id lists
// while the windows that browse the shell (the save dialog) may need it.
#pragma once

#include <shlobj.h>

#include "base/com_ptr.h"

namespace frame {

class CShellManager {
public:
  CShellManager();
  IMalloc* allocator() const { return allocator_.get(); }
  void freeItemIdList(LPITEMIDLIST list) const;

private:
  TComPtr<IMalloc> allocator_;
};

}  // namespace frame
