// Starting and watching processes from a Windows test.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "base/scoped_handle.h"

namespace support {

// A started process; the handle is closed (the process is not stopped) when
// the object goes.
class CProcess {
public:
  CProcess() = default;
  CProcess(CScopedHandle process, DWORD id) : process_(std::move(process)), id_(id) {}

  bool started() const { return process_.valid(); }
  DWORD id() const { return id_; }
  HANDLE handle() const { return process_.get(); }

  // The exit code once the process has ended, or nothing when it is still
  // running at the end of the time limit.
  std::optional<DWORD> wait(DWORD timeoutMs) const;

  // Ends the process (for a test that has failed and leaves it behind).
  void terminate() const;

private:
  CScopedHandle process_;
  DWORD id_ = 0;
};

// Quotes one command-line argument the way CommandLineToArgvW splits it back.
std::wstring quoteArgument(const std::wstring& argument);

// Starts a program with arguments (each quoted as needed); a CProcess that is
// not started() on failure.
CProcess startProcess(const std::wstring& program, const std::vector<std::wstring>& arguments = {});

// Starts it with the limited twin of this process's elevated token, the
// token an ordinary user's programs get; not started() when the token has no
// such twin.  (Wine 8 gives every process a full administrator's token whose
// linked token is a limited one, so a test can start a copy that is really
// not elevated.)
CProcess startProcessNotElevated(const std::wstring& program, const std::vector<std::wstring>& arguments = {});

// Points the shell's "runas" command for programs at a program that does not
// exist, as on a machine whose file associations are damaged: from then on
// every start with the verb "runas" fails with ERROR_FILE_NOT_FOUND.  For the
// test's own fresh prefix only.  False when the command cannot be written.
bool breakElevatedStarts();

// Starts it and waits: the exit code, or nothing on failure to start or when
// it outlives the time limit (it is then terminated).
std::optional<DWORD> runProcess(const std::wstring& program, const std::vector<std::wstring>& arguments,
                                DWORD timeoutMs);

// The ids of the running processes whose image name is `imageName`
// ("setup.exe"), compared without regard to letter case.
std::vector<DWORD> processIdsByImageName(const std::wstring& imageName);

// The folder of this test program, without a trailing "\".
std::wstring ownFolder();

}  // namespace support
