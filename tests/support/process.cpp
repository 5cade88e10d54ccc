#include "support/process.h"

#include <tlhelp32.h>

namespace support {

std::optional<DWORD> CProcess::wait(DWORD timeoutMs) const {
  if (!process_ || ::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  if (!::GetExitCodeProcess(process_.get(), &code)) {
    return std::nullopt;
  }
  return code;
}

void CProcess::terminate() const {
  if (process_) {
    ::TerminateProcess(process_.get(), 1);
    ::WaitForSingleObject(process_.get(), 5000);
  }
}

// Backslashes are literal except before a quote, where they are doubled.
std::wstring quoteArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    return argument;
  }
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  quoted += L'"';
  return quoted;
}

namespace {

std::wstring commandLineOf(const std::wstring& program, const std::vector<std::wstring>& arguments) {
  std::wstring commandLine = quoteArgument(program);
  for (const std::wstring& argument : arguments) {
    commandLine += L" " + quoteArgument(argument);
  }
  return commandLine;
}

CProcess processOf(const PROCESS_INFORMATION& info) {
  CScopedHandle thread(info.hThread);
  return CProcess(CScopedHandle(info.hProcess), info.dwProcessId);
}

}  // namespace

CProcess startProcess(const std::wstring& program, const std::vector<std::wstring>& arguments) {
  std::wstring commandLine = commandLineOf(program, arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
    return {};
  }
  return processOf(info);
}

CProcess startProcessNotElevated(const std::wstring& program, const std::vector<std::wstring>& arguments) {
  CScopedHandle ownToken;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, ownToken.receive())) {
    return {};
  }
  TOKEN_LINKED_TOKEN linked{};
  DWORD size = 0;
  if (!::GetTokenInformation(ownToken.get(), TokenLinkedToken, &linked, sizeof(linked), &size)) {
    return {};
  }
  const CScopedHandle limitedToken(linked.LinkedToken);
  std::wstring commandLine = commandLineOf(program, arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessAsUserW(limitedToken.get(), program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                              nullptr, nullptr, &startup, &info)) {
    return {};
  }
  return processOf(info);
}

bool breakElevatedStarts() {
  const std::wstring command = L"\"C:\\nowhere\\missing.exe\" \"%1\" %*";
  return ::RegSetKeyValueW(HKEY_CLASSES_ROOT, L"exefile\\shell\\runas\\command", nullptr, REG_SZ, command.c_str(),
                           static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::optional<DWORD> runProcess(const std::wstring& program, const std::vector<std::wstring>& arguments,
                                DWORD timeoutMs) {
  const CProcess process = startProcess(program, arguments);
  std::optional<DWORD> code = process.wait(timeoutMs);
  if (process.started() && !code) {
    process.terminate();
  }
  return code;
}

std::vector<DWORD> processIdsByImageName(const std::wstring& imageName) {
  std::vector<DWORD> ids;
  CScopedFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) {
    return ids;
  }
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more;
       more = ::Process32NextW(snapshot.get(), &entry)) {
    if (::lstrcmpiW(entry.szExeFile, imageName.c_str()) == 0) {
      ids.push_back(entry.th32ProcessID);
    }
  }
  return ids;
}

std::wstring ownFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L'\\'));
}

}  // namespace support
