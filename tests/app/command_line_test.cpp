#include "app/command_line.h"

#include <gtest/gtest.h>

namespace {

constexpr CGuid kGuidA = {0x0F1E2D3C, 0x4B5A, 0x6978, {0x87, 0x96, 0xA5, 0xB4, 0xC3, 0xD2, 0xE1, 0xF0}};
constexpr CGuid kGuidB = {0x11223344, 0x5566, 0x7788, {0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF, 0x00}};

struct Case {
  const char* what;
  std::vector<std::wstring> tail;  // the arguments after the program
  std::optional<CGuid> expected;
};

class UpdateSwitch : public testing::TestWithParam<Case> {};

TEST_P(UpdateSwitch, FindsTheLastValidSwitch) {
  std::vector<std::wstring> arguments{L"C:\\Downloads\\setup.exe"};
  arguments.insert(arguments.end(), GetParam().tail.begin(), GetParam().tail.end());
  EXPECT_EQ(findUpdateSwitch(arguments), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UpdateSwitch,
    testing::Values(
        Case{"braces", {L"/update:{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}"}, kGuidA},
        Case{"no braces", {L"/update:0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0"}, kGuidA},
        Case{"lower-case digits", {L"/update:0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0"}, kGuidA},
        Case{"switch name in capitals", {L"/UPDATE:{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}"}, kGuidA},
        Case{"no colon and value", {L"/update"}, std::nullopt},
        Case{"colon without value", {L"/update:"}, std::nullopt},
        Case{"no slash", {L"update:0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0"}, std::nullopt},
        Case{"other switch name", {L"/updates:0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0"}, std::nullopt},
        Case{"one brace only", {L"/update:{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0"}, std::nullopt},
        Case{"bad hex digit", {L"/update:0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1FG"}, std::nullopt},
        Case{"trailing text", {L"/update:0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0x"}, std::nullopt},
        Case{"value split at the first colon only", {L"/update:0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0:x"}, std::nullopt},
        Case{"two switches: the last wins",
             {L"/update:{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}", L"/update:11223344-5566-7788-99AA-BBCCDDEEFF00"},
             kGuidB},
        Case{"a later bad switch does not undo a good one",
             {L"/update:0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0", L"/update:nonsense"}, kGuidA},
        Case{"other arguments are ignored",
             {L"/quiet", L"/x:1", L"/update:0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0", L"extra"}, kGuidA}));

TEST(UpdateSwitchProgram, TheProgramArgumentIsNeverASwitch) {
  EXPECT_EQ(findUpdateSwitch({L"/update:0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0"}), std::nullopt);
  EXPECT_EQ(findUpdateSwitch({}), std::nullopt);
}

}  // namespace
