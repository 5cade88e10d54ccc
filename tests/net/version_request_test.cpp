// The body of a version check, byte for byte as the server parses it.
#include <gtest/gtest.h>

#include "base/guid.h"
#include "net/version_request.h"

namespace {

TEST(VersionRequest, BodyNamesTheProductInUpperCaseWithoutBracesAndEndsInTheExtraField) {
  const CGuid product = *parseGuid(std::wstring_view(L"{3f2a9c41-7b1d-4e58-9a06-5c2e8d17b4f0}"));
  EXPECT_EQ(versionCheckBody(product, ""), "a=version&p=3F2A9C41-7B1D-4E58-9A06-5C2E8D17B4F0&k=");
  EXPECT_EQ(versionCheckBody(product, "x1"), "a=version&p=3F2A9C41-7B1D-4E58-9A06-5C2E8D17B4F0&k=x1");
}

TEST(VersionRequest, ZeroProductKeepsEveryDigit) {
  EXPECT_EQ(versionCheckBody(CGuid{}, ""), "a=version&p=00000000-0000-0000-0000-000000000000&k=");
}

}  // namespace
