// What a window's data exchange (CWnd::DoDataExchange) is given: the
// direction, the window, and the way to stop a save at a refused value.
#pragma once

#include "app/exception.h"

namespace frame {

class CWnd;

// Stops a data exchange that refused a value.  The exchange has told the user
// why before it stops, so CWnd::UpdateData ends it silently; the text serves
// only should it escape an exchange.
class XExceptionExchangeStopped : public XExceptionGeneral {
public:
  XExceptionExchangeStopped() : XExceptionGeneral(L"A value of the dialog is not valid") {}
};

class CDataExchange {
public:
  CDataExchange(CWnd* window, bool saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(window) {}

  // Stops the exchange; whoever asked for it learns that it failed.
  [[noreturn]] void Fail() { throw XExceptionExchangeStopped(); }

  // True: controls to data, with validation; false: data to controls.
  const bool m_bSaveAndValidate;
  CWnd* const m_pDlgWnd;
};

}  // namespace frame
