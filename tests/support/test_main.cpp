// The main of every test program.  It runs the tests as GoogleTest's own main
// does, then makes the exit code say what ctest must report:
//  - a run that selected no test fails: a filter that matches nothing (a
//    misspelt suite, a parameterised suite under another name) has tested
//    nothing and must never pass;
//  - a run without failures in which a test skipped itself ends with
//    kSkippedExitCode, which every ctest entry reports as skipped, not passed.
#include <gtest/gtest.h>

#include <cstdio>

namespace {

// The skip code of automake and of the ctest entries (SKIP_RETURN_CODE).
constexpr int kSkippedExitCode = 77;
constexpr int kNoTestExitCode = 3;

// Runs that only list or describe the tests select none on purpose.
bool onlyLists() { return GTEST_FLAG_GET(list_tests); }

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  if (result != 0 || onlyLists()) {
    return result;
  }
  const testing::UnitTest& run = *testing::UnitTest::GetInstance();
  if (run.test_to_run_count() == 0) {
    std::fprintf(stderr, "no test ran: the filter \"%s\" selects none of this program's tests\n",
                 GTEST_FLAG_GET(filter).c_str());
    return kNoTestExitCode;
  }
  if (run.skipped_test_count() > 0) {
    std::fprintf(stderr, "%d of %d tests skipped themselves: the run counts as skipped\n", run.skipped_test_count(),
                 run.test_to_run_count());
    return kSkippedExitCode;
  }
  return 0;
}
