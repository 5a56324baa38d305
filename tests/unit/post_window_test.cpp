// The four-hour window over 32-bit stamps: both bounds included, and still right after the
// 32-bit count of seconds wraps in January 2038.
#include <gtest/gtest.h>

#include "report/post_window.h"

namespace {

TEST(PostWindow, BoundsAreIncludedInBothDirections) {
  const int64_t now = 1331751071;  // 14 March 2012
  struct Case {
    int64_t stampedAt;
    bool within;
  } cases[] = {
      {now, true},          {now - 14400, true},  {now + 14400, true},
      {now - 14401, false}, {now + 14401, false}, {0, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.within, IsWithinPostWindow(StampOf(c.stampedAt), now)) << c.stampedAt - now;
  }
}

TEST(PostWindow, StampsAcrossThe2038WrapStillCount) {
  const int64_t wrap = int64_t{1} << 31;  // 19 January 2038 03:14:08 UTC
  EXPECT_EQ(-2147483647 - 1, StampOf(wrap));
  EXPECT_EQ(2147483647, StampOf(wrap - 1));
  struct Case {
    int64_t stampedAt, now;
    bool within;
  } cases[] = {
      {wrap - 100, wrap + 100, true},  // stamped before the wrap, read after it
      {wrap + 100, wrap + 200, true},  // both after the wrap
      {wrap + 100, wrap + 14500, true},
      {wrap + 100, wrap + 14501, false},
      {wrap - 10000, wrap + 4400, true},
      {wrap - 10000, wrap + 4401, false},
      {int64_t{1} << 32, (int64_t{1} << 32) + 60, true},  // the year 2106
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.within, IsWithinPostWindow(StampOf(c.stampedAt), c.now))
        << c.stampedAt << " " << c.now;
  }
}

}  // namespace
