// A small bundle in memory for the tests: indexed in place of the program's
// own for the life of the fixture.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "resource/bundle_records.h"
#include "resource/resource_bundle.h"

class CBundleFixture : public ::testing::Test {
protected:
  void useBundle(const std::vector<std::pair<std::string, std::string>>& files) {
    block_ = makeBundleBlock(files);
    indexResourceBundle(block_.data(), block_.size());
  }
  void useStringTable(const std::string& xml) { useBundle({{"strings/default.xml", xml}}); }
  void TearDown() override { indexResourceBundle(nullptr, 0); }

private:
  std::vector<std::uint8_t> block_;
};
