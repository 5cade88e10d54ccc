// The "ver" attribute of the version element, in every form a server may
// write it: the check reports numbers, never fails on them.
#include <gtest/gtest.h>

#include "net/version_answer.h"

namespace {

struct CVerCase {
  const wchar_t* text;
  CVersion expected;
};

class VersionAnswer : public ::testing::TestWithParam<CVerCase> {};

TEST_P(VersionAnswer, ReadsTheFourNumbers) {
  EXPECT_EQ(parseVersionAnswer(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Forms, VersionAnswer, ::testing::Values(
  CVerCase{L"2.5.0.17", {2, 5, 0, 17}},
  CVerCase{L"2.5", {2, 5, 0, 0}},
  CVerCase{L" 3 . 1 .. 7 ", {3, 1, 7, 0}},          // blanks and an empty piece
  CVerCase{L"3\t.\r\n1. .7", {3, 1, 7, 0}},         // any white space; a blank piece is empty
  CVerCase{L"1.a.3", {1, 0, 3, 0}},                  // a letter counts 0
  CVerCase{L"1.2x.3", {1, 0, 3, 0}},                 // the whole piece must be a number
  CVerCase{L"0x10.0X1f.0xFFFFFFFF", {16, 31, 0xFFFFFFFFu, 0}},
  CVerCase{L"0x.0x1g.x10", {0, 0, 0, 0}},            // no hex digits, a bad one, no leading 0
  CVerCase{L"-1.-2147483648.-2147483649", {0xFFFFFFFFu, 0x80000000u, 0, 0}},
  CVerCase{L"+1.--1.-", {0, 0, 0, 0}},
  CVerCase{L"4294967295.4294967296.0x100000000", {0xFFFFFFFFu, 0, 0, 0}},  // beyond 32 bits: 0
  CVerCase{L"1.2.3.4.5.6", {1, 2, 3, 4}},            // the first four only
  CVerCase{L"...1...2", {1, 2, 0, 0}},
  CVerCase{L"", {0, 0, 0, 0}},
  CVerCase{L"007.0009", {7, 9, 0, 0}}));

}  // namespace
