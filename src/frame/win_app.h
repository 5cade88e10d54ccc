// The application base of the window framework layer: one application object
// per process, a start-up hook, and the per-application registry profile
// (HKEY_CURRENT_USER\Software\<registry key word>\<application name>).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/scoped_handle.h"

namespace frame {

class CWinApp {
public:
  CWinApp();
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // The start-up hook.  Answers whether the message loop is to run.
  virtual bool InitInstance();
  // Runs the message loop until WM_QUIT; answers the exit code.
  virtual int Run();
  virtual int ExitInstance();

  // The command-line tail after the program name, as the process got it.
  const std::wstring& commandLineTail() const { return commandLineTail_; }
  HINSTANCE instance() const { return instance_; }

  const std::wstring& appName() const { return appName_; }
  void setAppName(std::wstring name) { appName_ = std::move(name); }

  // Places the profile under HKEY_CURRENT_USER\Software\<keyWord>\<app name>.
  void SetRegistryKey(std::wstring keyWord) { registryKey_ = std::move(keyWord); }
  const std::wstring& registryKey() const { return registryKey_; }

  // The profile key of the application and of one of its sections, created
  // when missing; empty when no registry key word is set or creation fails.
  CScopedKey GetAppRegistryKey() const;
  CScopedKey GetSectionKey(const std::wstring& section) const;

  std::optional<std::vector<std::uint8_t>> GetProfileBinary(const std::wstring& section,
                                                            const std::wstring& entry) const;
  bool WriteProfileBinary(const std::wstring& section, const std::wstring& entry,
                          const std::vector<std::uint8_t>& data) const;
  bool DeleteProfileValue(const std::wstring& section, const std::wstring& entry) const;

  // The fixed text shown for a failure outside the exception family
  // (frame/failure_report.h).  Set once at start-up, before any worker runs:
  // workers read it without a lock.
  const std::wstring& unexpectedFailureText() const { return unexpectedFailureText_; }
  void setUnexpectedFailureText(std::wstring text) { unexpectedFailureText_ = std::move(text); }

  // A message box with the application name as caption.
  int messageBox(const std::wstring& text, unsigned flags, HWND owner = nullptr) const;

  // Called by wWinMain before the start-up hook.
  void attach(HINSTANCE instance, std::wstring commandLineTail);

private:
  HINSTANCE instance_ = nullptr;
  std::wstring commandLineTail_;
  std::wstring appName_;
  std::wstring registryKey_;
  std::wstring unexpectedFailureText_;
};

// The one application object of the process.
CWinApp* currentApp();

}  // namespace frame
