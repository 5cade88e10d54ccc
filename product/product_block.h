// The product's side of the product block: the named shared memory that
// tells the setup that the product runs, with its process id and main window,
// and in which the setup writes its exit request.
#pragma once

#include <windows.h>

#include "base/scoped_handle.h"

namespace product {

class CProductBlock {
public:
  // Creates (or opens) the block and publishes the process id and window;
  // published() is false when the system refused.
  explicit CProductBlock(HWND mainWindow);

  bool published() const { return view_.valid(); }
  // Whether the setup has written its exit request.
  bool exitRequested() const;

private:
  CScopedHandle mapping_;
  CScopedView view_;
};

}  // namespace product
