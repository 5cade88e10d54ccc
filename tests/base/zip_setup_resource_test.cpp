// A setup.exe whose package resource is missing or damaged stops at its
// start-up with a plain message box: the real program under Wine, its
// resource rewritten in a copy.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/scoped_handle.h"
#include "support/paths.h"
#include "support/process.h"
#include "support/ui_driver.h"

namespace {

constexpr DWORD kExitTimeoutMs = 30000;
constexpr WORD kPackageId = 103;

std::wstring setupExe() { return support::buildDir() + L"\\src\\app\\setup.exe"; }

BOOL CALLBACK rememberLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) {
  *reinterpret_cast<WORD*>(found) = language;
  return FALSE;
}

// The language under which the copy carries its package.
WORD packageLanguage(const std::wstring& program) {
  CScopedModule image(::LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  WORD language = 0xFFFF;
  if (image) {
    ::EnumResourceLanguagesW(image.get(), RT_RCDATA, MAKEINTRESOURCEW(kPackageId), rememberLanguage,
                             reinterpret_cast<LONG_PTR>(&language));
  }
  return language;
}

// One resource of a module: its type, name and language, and its bytes.
struct CResource {
  std::wstring type;  // "#n" for numbered ones, as the platform reads them
  std::wstring name;
  WORD language = 0;
  std::vector<std::uint8_t> bytes;
};

std::wstring resourceKey(LPCWSTR key) {
  return IS_INTRESOURCE(key) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(key)) : std::wstring(key);
}

struct CResourceWalk {
  HMODULE module;
  std::vector<CResource> found;
};

BOOL CALLBACK addLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR walk) {
  HRSRC info = ::FindResourceExW(module, type, name, language);
  HGLOBAL loaded = info ? ::LoadResource(module, info) : nullptr;
  const auto* bytes = static_cast<const std::uint8_t*>(loaded ? ::LockResource(loaded) : nullptr);
  if (bytes) {
    reinterpret_cast<CResourceWalk*>(walk)->found.push_back(
        {resourceKey(type), resourceKey(name), language, {bytes, bytes + ::SizeofResource(module, info)}});
  }
  return TRUE;
}

BOOL CALLBACK addName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR walk) {
  ::EnumResourceLanguagesW(module, type, name, addLanguage, walk);
  return TRUE;
}

BOOL CALLBACK addType(HMODULE module, LPWSTR type, LONG_PTR walk) {
  ::EnumResourceNamesW(module, type, addName, walk);
  return TRUE;
}

std::vector<CResource> resourcesOf(const std::wstring& program) {
  CScopedModule image(::LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  CResourceWalk walk{image.get(), {}};
  if (image) {
    ::EnumResourceTypesW(image.get(), addType, reinterpret_cast<LONG_PTR>(&walk));
  }
  return walk.found;
}

LPCWSTR asResourceKey(const std::wstring& key) {
  return key[0] == L'#' ? MAKEINTRESOURCEW(std::stoi(key.substr(1))) : key.c_str();
}

// A copy of setup.exe that carries all of its resources but the package, and
// `package` in its place when given.  (The resources are written anew, since
// not every system deletes a single one on request.)
std::wstring setupWithPackage(const support::CTempFolder& folder, const std::vector<std::uint8_t>* package) {
  const std::wstring copy = folder / L"setup.exe";
  EXPECT_TRUE(::CopyFileW(setupExe().c_str(), copy.c_str(), FALSE));
  const std::vector<CResource> resources = resourcesOf(copy);
  const WORD language = packageLanguage(copy);
  EXPECT_NE(language, 0xFFFF) << "setup.exe carries no package";

  HANDLE update = ::BeginUpdateResourceW(copy.c_str(), TRUE);
  EXPECT_NE(update, nullptr);
  if (!update) {
    return copy;
  }
  const std::wstring packageType = resourceKey(RT_RCDATA);
  const std::wstring packageName = resourceKey(MAKEINTRESOURCEW(kPackageId));
  bool written = true;
  for (const CResource& resource : resources) {
    if (resource.type == packageType && resource.name == packageName) {
      continue;
    }
    written = written && ::UpdateResourceW(update, asResourceKey(resource.type), asResourceKey(resource.name),
                                           resource.language, const_cast<std::uint8_t*>(resource.bytes.data()),
                                           static_cast<DWORD>(resource.bytes.size()));
  }
  if (package) {
    written = written && ::UpdateResourceW(update, RT_RCDATA, MAKEINTRESOURCEW(kPackageId), language,
                                           const_cast<std::uint8_t*>(package->data()),
                                           static_cast<DWORD>(package->size()));
  }
  EXPECT_TRUE(written);
  EXPECT_TRUE(::EndUpdateResourceW(update, !written));

  const std::vector<CResource> after = resourcesOf(copy);
  EXPECT_EQ(after.size(), resources.size() - (package ? 0 : 1)) << "the other resources were not kept";
  if (!package) {
    EXPECT_EQ(packageLanguage(copy), 0xFFFF) << "the package is still there";
  }
  return copy;
}

// Starts the copy and reads the message its elevated copy shows.
void expectPlainMessage(const std::wstring& program, const std::wstring& text) {
  support::CProcess setup = support::startProcess(program);
  ASSERT_TRUE(setup.started());
  const std::optional<ui::CMessageBox> message = ui::waitForMessageBox(L"Brantel", 20000);
  if (!message) {
    const std::optional<DWORD> exitCode = setup.wait(kExitTimeoutMs);
    FAIL() << "no message box; setup.exe " << (exitCode ? "ended with " + std::to_string(*exitCode) : "still runs");
  }
  EXPECT_EQ(message->text, text);
  EXPECT_EQ(message->icon, ui::Icon::None);
  EXPECT_EQ(message->buttons, std::vector<std::wstring>{L"OK"});
  ASSERT_TRUE(ui::clickControl(message->hwnd, L"OK"));
  if (!setup.wait(kExitTimeoutMs)) {
    setup.terminate();
    ADD_FAILURE() << "setup.exe did not end after the message";
  }
}

TEST(PackageStartUp, MissingPackageShowsUnexpectedError1) {
  support::CTempFolder folder;
  expectPlainMessage(setupWithPackage(folder, nullptr), L"Unexpected error 1");
}

TEST(PackageStartUp, PackageOfTwentyBytesShowsUnexpectedError1) {
  support::CTempFolder folder;
  const std::vector<std::uint8_t> twenty(20, 0x42);
  expectPlainMessage(setupWithPackage(folder, &twenty), L"Unexpected error 1");
}

TEST(PackageStartUp, PackageThatIsNoArchiveShowsUnexpectedError2) {
  support::CTempFolder folder;
  std::vector<std::uint8_t> noise(4096);
  for (std::size_t i = 0; i < noise.size(); ++i) {
    noise[i] = static_cast<std::uint8_t>(i * 131 + (i >> 5));
  }
  expectPlainMessage(setupWithPackage(folder, &noise), L"Unexpected error 2");
}

}  // namespace
