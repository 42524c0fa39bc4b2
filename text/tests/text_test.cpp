// The text programs, driven as a user runs them.
#include <gtest/gtest.h>

#include "tests/support/program_runner.h"

namespace {
using testing_support::run;
using testing_support::same_bytes;

TEST(Good, PrintsTheBannerWithoutAFinalLineBreak) {
  auto outcome = run(u8"good", "");
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(same_bytes(outcome.out,
                         "* * * * * * * * * * * * * * * * * * * * * *\n"
                         "             Very Good!\n"
                         "* * * * * * * * * * * * * * * * * * * * * *"));
}

}  // namespace
