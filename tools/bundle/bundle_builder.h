// The bundle builder: packs a ui/ folder into the record block that setup.exe
// carries in its data, checks it with the program's own readers, and writes
// the enciphered block as a C++ source for the build.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "bundle/bundle_files.h"

namespace bundle {

struct CBundleSummary {
  std::size_t files = 0;
  std::size_t bytes = 0;
  std::size_t strings = 0;
};

// The deciphered record block of the files, in their order.
std::vector<std::uint8_t> packBundle(const std::vector<CBundleFile>& files);

// Reads the block as the program will: "strings/default.xml" must be there
// and load as a string table; every other XML file must parse and have the
// document element "dialog"; every PNG file must begin with the PNG
// signature.  Throws CBundleError naming the file and the program's message.
// Answers the number of strings.
std::size_t checkBundle(const std::vector<std::uint8_t>& block);

// The C++ source that links the enciphered block into the program and hands
// it over before wWinMain.
std::string bundleSource(const std::vector<std::uint8_t>& block, const std::string& origin);

// The whole build: collect, pack, check, encipher, write.
CBundleSummary buildBundle(const std::vector<std::filesystem::path>& folders, const std::filesystem::path& output);

}  // namespace bundle
