#include "app/product_id.h"

#include <gtest/gtest.h>

namespace {

TEST(ProductIdentifier, UnscramblesToTheFixedGuid) {
  CGuid id = productIdentifier();
  EXPECT_EQ(formatGuid(id, GuidStyle::Upper), L"6E1B2C4D-93A7-4F58-B0C2-7D4E9A31F86B");
  // Stable across calls: nothing of the scrambled form is changed in place.
  EXPECT_EQ(productIdentifier(), id);
}

}  // namespace
