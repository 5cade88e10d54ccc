#include "frame/shell_manager.h"

namespace frame {

CShellManager::CShellManager() { ::SHGetMalloc(allocator_.receive()); }

void CShellManager::freeItemIdList(LPITEMIDLIST list) const {
  if (list && allocator_) {
    allocator_->Free(list);
  }
}

}  // namespace frame
