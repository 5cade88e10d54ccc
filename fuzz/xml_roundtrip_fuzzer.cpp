// Parse, write, parse again on arbitrary bytes: the second tree must match
// the first as xml_round_trip describes.
#include <cstdio>
#include <cstdlib>

#include "xml/xml_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string problem = xml_round_trip::problemOf(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!problem.empty()) {
    std::fprintf(stderr, "round trip: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
