#include "frame/win_app.h"

#include "frame/failure_report.h"

namespace frame {
namespace {

CWinApp* theApp = nullptr;

// The application's title string, as the framework's resource number names it.
constexpr unsigned kAppTitleStringId = 0xE000;

std::wstring moduleTitleOrFileName(HINSTANCE instance) {
  const wchar_t* text = nullptr;
  int length = ::LoadStringW(instance, kAppTitleStringId, reinterpret_cast<wchar_t*>(&text), 0);
  if (length > 0 && text) {
    return std::wstring(text, static_cast<std::size_t>(length));
  }
  wchar_t path[MAX_PATH] = {};
  DWORD size = ::GetModuleFileNameW(instance, path, MAX_PATH);
  std::wstring name(path, size);
  std::size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) {
    name.erase(0, slash + 1);
  }
  std::size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos) {
    name.erase(dot);
  }
  return name;
}

}  // namespace

CWinApp::CWinApp() : unexpectedFailureText_(kUnexpectedFailureText) { theApp = this; }

CWinApp::~CWinApp() {
  if (theApp == this) {
    theApp = nullptr;
  }
}

CWinApp* currentApp() { return theApp; }

void CWinApp::attach(HINSTANCE instance, std::wstring commandLineTail) {
  instance_ = instance;
  commandLineTail_ = std::move(commandLineTail);
  if (appName_.empty()) {
    appName_ = moduleTitleOrFileName(instance);
  }
}

bool CWinApp::InitInstance() { return true; }

int CWinApp::Run() {
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return ExitInstance();
}

int CWinApp::ExitInstance() { return 0; }

CScopedKey CWinApp::GetAppRegistryKey() const {
  CScopedKey key;
  if (registryKey_.empty()) {
    return key;
  }
  std::wstring path = L"Software\\" + registryKey_ + L"\\" + appName_;
  ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                    KEY_READ | KEY_WRITE, nullptr, key.receive(), nullptr);
  return key;
}

CScopedKey CWinApp::GetSectionKey(const std::wstring& section) const {
  CScopedKey appKey = GetAppRegistryKey();
  CScopedKey key;
  if (appKey) {
    ::RegCreateKeyExW(appKey.get(), section.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_READ | KEY_WRITE, nullptr, key.receive(), nullptr);
  }
  return key;
}

std::optional<std::vector<std::uint8_t>> CWinApp::GetProfileBinary(const std::wstring& section,
                                                                   const std::wstring& entry) const {
  CScopedKey key = GetSectionKey(section);
  if (!key) {
    return std::nullopt;
  }
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExW(key.get(), entry.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_BINARY) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> data(size);
  if (::RegQueryValueExW(key.get(), entry.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  data.resize(size);
  return data;
}

bool CWinApp::WriteProfileBinary(const std::wstring& section, const std::wstring& entry,
                                 const std::vector<std::uint8_t>& data) const {
  CScopedKey key = GetSectionKey(section);
  return key && ::RegSetValueExW(key.get(), entry.c_str(), 0, REG_BINARY, data.data(),
                                 static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

bool CWinApp::DeleteProfileValue(const std::wstring& section, const std::wstring& entry) const {
  CScopedKey key = GetSectionKey(section);
  return key && ::RegDeleteValueW(key.get(), entry.c_str()) == ERROR_SUCCESS;
}

int CWinApp::messageBox(const std::wstring& text, unsigned flags, HWND owner) const {
  return ::MessageBoxW(owner, text.c_str(), appName_.c_str(), flags);
}

}  // namespace frame
