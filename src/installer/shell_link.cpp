// Shell links through the system's link object.
#include <shlobj.h>
#include <shobjidl.h>

#include "base/com_ptr.h"
#include "installer/system_registration.h"

namespace setup {

HRESULT CreateShortcut(const std::wstring& target, const std::wstring& linkPath, const std::wstring& description,
                       const wchar_t* arguments, bool runAsAdministrator) {
  TComPtr<IShellLinkW> link;
  HRESULT result = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                      link.receiveVoid());
  if (FAILED(result)) {
    return result;
  }
  link->SetPath(target.c_str());
  if (arguments) {
    link->SetArguments(arguments);
  }
  link->SetDescription(description.c_str());
  if (runAsAdministrator) {
    if (const TComPtr<IShellLinkDataList> data = link.query<IShellLinkDataList>()) {
      DWORD flags = 0;
      if (SUCCEEDED(data->GetFlags(&flags)) && (flags & SLDF_RUNAS_USER) == 0) {
        data->SetFlags(flags | SLDF_RUNAS_USER);
      }
    }
  }
  const TComPtr<IPersistFile> file = link.query<IPersistFile>();
  if (!file) {
    return E_NOINTERFACE;
  }
  return file->Save(linkPath.c_str(), TRUE);
}

}  // namespace setup
