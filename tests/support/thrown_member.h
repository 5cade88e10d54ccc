// Checks that a call fails as the setup's code must: with a member of the
// exception family, of the expected class, carrying the expected text.
// Header-only, for the tests of every tree.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/exception.h"

template <class Member, class Call>
::testing::AssertionResult throwsMember(Call&& call, const std::wstring& expectedText) {
  try {
    call();
  } catch (const XException& failure) {
    const std::wstring text = failure.getText();
    if (!dynamic_cast<const Member*>(&failure)) {
      return ::testing::AssertionFailure() << "another member of the family: " << ::testing::PrintToString(text);
    }
    if (text != expectedText) {
      return ::testing::AssertionFailure() << "the text is " << ::testing::PrintToString(text);
    }
    return ::testing::AssertionSuccess();
  } catch (...) {
    return ::testing::AssertionFailure() << "an exception outside the family";
  }
  return ::testing::AssertionFailure() << "nothing was thrown";
}
