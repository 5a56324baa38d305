// Leading-number reading of profile values and replies: blanks, sign, digits, and nothing
// more; text without a leading number reads as 0.
#include <gtest/gtest.h>

#include "run/leading_number.h"

namespace {

TEST(LeadingNumber, Int32Table) {
  struct Case {
    const char* text;
    int32_t value;
  } cases[] = {
      {"", 0},
      {"abc", 0},
      {"42", 42},
      {"  -17xyz", -17},
      {"+8", 8},
      {"57.00", 57},
      {"-1.00", -1},
      {"- 5", 0},
      {"12 34", 12},
      {"2147483647", 2147483647},
      {"2147483648", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"-2147483649", -2147483647 - 1},
      {"99999999999999999999999", 2147483647},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.value, ReadLeadingInt32(c.text)) << '"' << c.text << '"';
}

TEST(LeadingNumber, DoubleTable) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"", 0.0},       {"abc", 0.0},
      {"57.9", 57.9},  {" -3.7 ms", -3.7},
      {".5", 0.5},     {"5.", 5.0},
      {"1e3", 1000.0}, {"1e", 1.0},
      {"0x1A", 0.0},   {"inf", 0.0},
      {"nan", 0.0},    {"-0 ", 0.0},
      {"12,5", 12.0},  {"-2147023174", -2147023174.0},
      {"+.25x", 0.25},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(c.value, ReadLeadingDouble(c.text)) << '"' << c.text << '"';
  }
}

}  // namespace
