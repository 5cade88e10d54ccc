// Pictures written as PNG files through the imaging component.
#pragma once

#include <cstdint>
#include <string>

// Writes width x height pixels (0x00RRGGBB, rows from the top, no gaps) to
// path as a PNG file; false when any step fails (the file may then be left
// incomplete; the caller removes it).  The calling thread gets COM for the
// time of the call unless it already has it.
bool writePngFile(const std::wstring& path, int width, int height, const std::uint32_t* pixels);
