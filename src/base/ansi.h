// 8-bit names (bundle files, archive entries) in the system's ANSI code page,
// and the conversion to 8-bit text it shares with the UTF-8 form.  A text
// longer than the platform's conversions take (2^31 - 1 units) throws
// XExceptionLength.
#pragma once

#include <string>
#include <string_view>

std::string toAnsi(std::wstring_view text);
// The 8-bit form of a text in a given code page (CP_ACP, CP_UTF8...); the
// platform's replacement rules apply to characters the page lacks.
std::string toCodePage(unsigned codePage, std::wstring_view text);
std::wstring fromAnsi(std::string_view text);
