// How the builder turns the host's file names (UTF-8) into the 8-bit entry
// names the setup reads with the system's ANSI code page, and when two names
// are the same file on Windows.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace package {

// The text in the 8-bit code page `codePage` (1252, 932...; 65001 keeps
// UTF-8).  Empty when the text is not valid UTF-8 or holds a character the
// page lacks.
std::optional<std::string> toCodePage(std::string_view utf8, unsigned codePage);

// The name as the system sees it: one wide character per character (bytes
// that are not UTF-8 are taken one by one).
std::wstring wideName(std::string_view utf8);

// Two names are the same file on Windows exactly when their keys are equal:
// every letter in upper case, whatever its script.
std::wstring sameFileKey(std::string_view utf8);

}  // namespace package
