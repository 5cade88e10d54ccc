// Joining a folder and a name into a path.
#pragma once

#include <string>
#include <string_view>

// The folder without its trailing '\' and '/', one '\', then the name without
// its leading '/', '\' and ':'.
std::wstring joinPath(std::wstring_view folder, std::wstring_view name);
