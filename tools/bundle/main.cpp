// brantel-bundle: packs the setup's user interface into its resource bundle.
//
//   brantel-bundle OUTPUT.cpp FOLDER...
//
// Every file under the folders becomes a bundle file named by its path below
// its folder ("strings/default.xml").  The bundle is checked with the
// program's own readers, enciphered, and written as a C++ source that the
// build links into setup.exe.  Any bad input ends with a message and exit
// code 1; a wrong command line with exit code 2.
#include <cstdio>
#include <filesystem>
#include <vector>

#include "bundle/bundle_builder.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: brantel-bundle OUTPUT.cpp FOLDER...\n");
    return 2;
  }
  std::vector<std::filesystem::path> folders(argv + 2, argv + argc);
  try {
    const bundle::CBundleSummary summary = bundle::buildBundle(folders, argv[1]);
    std::printf("brantel-bundle: %zu files, %zu strings, %zu bytes -> %s\n", summary.files, summary.strings,
                summary.bytes, argv[1]);
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "brantel-bundle: %s\n", error.what());
    return 1;
  }
}
