// Letter case and white space as the markup engine folds them.
//
// Only the ASCII letters change case, so a prepared dialog is the same in
// both trees and under every system locale.
#pragma once

#include <string>
#include <string_view>

std::wstring lowerCase(std::wstring_view text);
bool equalsIgnoringCase(std::wstring_view a, std::wstring_view b) noexcept;
// Without leading and trailing tabs, line feeds, carriage returns and blanks.
std::wstring_view trimWhiteSpace(std::wstring_view text) noexcept;
