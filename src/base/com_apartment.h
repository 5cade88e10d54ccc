// COM for the calling thread for the lifetime of one owner object.
//
// The apartment is single-threaded, as the shell's objects and dialogs want.
// The interface thread gets one at start-up, before any dialog or picture,
// and keeps it until the process ends; a worker that creates shell objects
// owns one of its own for its run.
#pragma once

#include <objbase.h>

class CComApartment {
public:
  CComApartment() noexcept
      : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
  ~CComApartment() {
    if (initialised_) {
      ::CoUninitialize();
    }
  }
  CComApartment(const CComApartment&) = delete;
  CComApartment& operator=(const CComApartment&) = delete;

private:
  // False when the thread already had another kind of apartment: it then
  // keeps that one, and this owner leaves it alone.
  bool initialised_;
};
