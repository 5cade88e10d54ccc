// The names and texts an installation run makes up, in every tree.
#include <gtest/gtest.h>

#include <regex>

#include "base/guid.h"
#include "base/utf8.h"
#include "installer/entry_selection.h"
#include "installer/install_paths.h"
#include "installer/installed_names.h"
#include "installer/uninstall_values.h"

namespace {

std::string narrow(const std::wstring& text) { return toUtf8(text); }

TEST(EntrySelection, EachSystemTakesItsOwnVariantWithoutTheMarker) {
  struct CCase {
    const wchar_t* entry;
    const wchar_t* on32;  // nullptr: not installed
    const wchar_t* on64;
  };
  const CCase cases[] = {
      {L"a x86.dll", L"a.dll", nullptr},
      {L"a x64.dll", nullptr, L"a.dll"},
      {L"bin/Name X64.DLL", nullptr, L"bin\\Name.DLL"},
      {L"bin/name x86.dll", L"bin\\name.dll", nullptr},
      // A marker at the very start is no marker.
      {L" x64.txt", L" x64.txt", L" x64.txt"},
      {L" x86.txt", L" x86.txt", L" x86.txt"},
      // Without the dot it is part of the name.
      {L"tool x64", L"tool x64", L"tool x64"},
      {L"docs/Read Me.txt", L"docs\\Read Me.txt", L"docs\\Read Me.txt"},
      // The 32-bit marker is looked at first.
      {L"a x86.x64.dll", L"a.x64.dll", nullptr},
  };
  for (const CCase& c : cases) {
    for (const bool is64 : {false, true}) {
      const std::optional<std::wstring> selected = setup::selectEntryName(c.entry, is64);
      const wchar_t* expected = is64 ? c.on64 : c.on32;
      ASSERT_EQ(selected.has_value(), expected != nullptr) << narrow(c.entry) << (is64 ? " on 64" : " on 32");
      if (expected) {
        EXPECT_EQ(narrow(*selected), narrow(expected)) << narrow(c.entry);
      }
    }
  }
}

TEST(EntrySelection, TheMainProgramHoldsTheDisplayNameAndAnExe) {
  EXPECT_TRUE(setup::isMainProgramCandidate(L"Brantel.exe", L"Brantel"));
  EXPECT_TRUE(setup::isMainProgramCandidate(L"tools\\BRANTEL Viewer.EXE", L"Brantel"));
  EXPECT_FALSE(setup::isMainProgramCandidate(L"setup.exe", L"Brantel"));
  EXPECT_FALSE(setup::isMainProgramCandidate(L"Brantel.dll", L"Brantel"));
  // ".exe" only after the first character.
  EXPECT_FALSE(setup::isMainProgramCandidate(L".exeBrantel", L"Brantel"));
}

// One package may not use a name both for a file and for a folder on the
// way to another file, in either order and whatever the ASCII case.
TEST(InstalledNames, AFileAndAFolderOfTheSameNameClash) {
  struct CCase {
    std::vector<const wchar_t*> names;
    std::size_t clashAt;  // the index of the name refused; names.size(): none
  };
  const CCase cases[] = {
      {{L"sub", L"sub\\x.txt"}, 1},
      {{L"sub\\x.txt", L"sub"}, 1},
      {{L"a\\b\\c.txt", L"A\\B"}, 1},
      {{L"a\\B", L"a/b/c.txt"}, 1},
      {{L"sub\\x.txt", L"sub\\y.txt", L"sub2", L"su", L"sub.txt"}, 5},
      {{L"sub", L"subx\\y.txt"}, 2},
      // The same file twice is no clash: the later one wins.
      {{L"a.txt", L"A.TXT"}, 2},
  };
  for (const CCase& c : cases) {
    setup::CInstalledNames names;
    EXPECT_TRUE(names.empty());
    std::size_t refused = c.names.size();
    for (std::size_t i = 0; i < c.names.size() && refused == c.names.size(); ++i) {
      if (!names.add(c.names[i])) {
        refused = i;
      }
    }
    EXPECT_EQ(refused, c.clashAt) << narrow(c.names[0]) << " ... " << narrow(c.names.back());
    EXPECT_FALSE(names.empty());
  }
}

TEST(InstallPaths, TemporaryNamesAreGroupedLowerCaseHex) {
  CRandomValue value{};
  for (std::size_t i = 0; i < value.size(); ++i) {
    value[i] = static_cast<std::uint8_t>(0xA0 + i);
  }
  EXPECT_EQ(narrow(setup::temporaryFileName(value)), "a0a1a2a3-a4a5-a6a7-a8a9-aaabacadaeaf.tmp");
  const std::wregex form(L"[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}\\.tmp");
  EXPECT_TRUE(std::regex_match(setup::temporaryFileName(randomValue()), form));
}

TEST(InstallPaths, FolderChainSkipsTheDriveAndTheTrailingSeparator) {
  using Chain = std::vector<std::string>;
  const auto chain = [](const wchar_t* path) {
    Chain parts;
    for (const std::wstring& part : setup::folderChain(path)) {
      parts.push_back(toUtf8(part));
    }
    return parts;
  };
  EXPECT_EQ(chain(L"C:\\Program Files\\Brantel\\"), (Chain{"C:\\Program Files", "C:\\Program Files\\Brantel"}));
  EXPECT_EQ(chain(L"C:/A/B"), (Chain{"C:/A", "C:/A/B"}));
  EXPECT_EQ(chain(L"bin\\deep"), (Chain{"bin", "bin\\deep"}));
  EXPECT_EQ(narrow(setup::relativeFolderOf(L"docs\\deep\\a.txt")), "docs\\deep");
  EXPECT_EQ(narrow(setup::relativeFolderOf(L"a.txt")), "");
}

TEST(UninstallValues, PublisherLinesGiveTrimmedNamesAndValues) {
  using Values = std::vector<std::pair<std::string, std::string>>;
  const auto values = [](const wchar_t* line) {
    Values result;
    for (const auto& [name, value] : setup::publisherValues(line)) {
      result.emplace_back(toUtf8(name), toUtf8(value));
    }
    return result;
  };
  EXPECT_EQ(values(L"Publisher=MAVREN"), (Values{{"Publisher", "MAVREN"}}));
  EXPECT_EQ(values(L"  Publisher  =  MAVREN Ltd \r\n\r\nURLInfoAbout=https://x\n"),
            (Values{{"Publisher", "MAVREN Ltd"}, {"URLInfoAbout", "https://x"}}));
  // Begins with "=", ends right after it, has none, or an empty side.
  EXPECT_EQ(values(L"=MAVREN\nPublisher=\nno equals\n  = x\nName =  \r"), Values{});
  EXPECT_EQ(values(L"a=b=c"), (Values{{"a", "b=c"}}));
}

TEST(UninstallValues, SectionPathAndPackagedUninstaller) {
  const CGuid entry{0x7BBCFE84, 0xE6E6, 0x47E6, {0x82, 0x48, 0x56, 0xD7, 0x44, 0x52, 0x2D, 0x62}};
  EXPECT_EQ(narrow(setup::uninstallSectionPath(entry)),
            "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{7BBCFE84-E6E6-47E6-8248-56D744522D62}");
  EXPECT_EQ(narrow(setup::packagedUninstallerCommand(L"C:\\P\\Brantel\\\\", entry)),
            "\"C:\\P\\Brantel\\uninstall.exe\" 7bbcfe84-e6e6-47e6-8248-56d744522d62");
}

}  // namespace
