// The [avg] slot text: reading items, writing the twelve slots back, the mean and its
// rounding.
#include <gtest/gtest.h>

#include <string.h>

#include <cmath>
#include <string>
#include <vector>

#include "collect/rolling_slots.h"

namespace {

std::vector<float> Parse(const char* text) {
  float slots[kSlotCount];
  ParseSlotText(text, slots);
  return std::vector<float>(slots, slots + kSlotCount);
}

std::vector<float> Slots(std::vector<float> head) {
  head.resize(kSlotCount, -1.0f);
  return head;
}

TEST(RollingSlots, ReadingItems) {
  struct Case {
    const char* text;
    std::vector<float> slots;
  } cases[] = {
      {"", Slots({})},
      {"50.00,-1.00,60.00,", Slots({50, -1, 60})},
      {"50.00,,60.00", Slots({50, -1, 60})},
      {"57.99,abc, 7,-3.5,+4,", Slots({57, 0, 7, -3, 4})},
      {"1,2,3,4,12345678901,5", Slots({1, 2, 3, 4, 99999992, 5})},
      {"99999999,-10000000,", Slots({99999992, -9999999})},
      {"1,2,3,4,123456789012,5,6", Slots({1, 2, 3, 4})},  // an item of 12 characters ends it
      {"1,2,3,4,5,6,7,8,9,10,11,12,13,14", Slots({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12})},
      {",,,,,,,,,,,,", Slots({})},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.slots, Parse(c.text)) << c.text;
}

TEST(RollingSlots, WritingTwelveItemsWithTwoDecimals) {
  float slots[kSlotCount];
  ParseSlotText("50,40,60", slots);
  char text[256];
  FormatSlotText(slots, text, sizeof text);
  EXPECT_STREQ("50.00,40.00,60.00,-1.00,-1.00,-1.00,-1.00,-1.00,-1.00,-1.00,-1.00,-1.00,", text);
  float again[kSlotCount];
  ParseSlotText(text, again);
  EXPECT_EQ(std::vector<float>(slots, slots + kSlotCount),
            std::vector<float>(again, again + kSlotCount));
}

TEST(RollingSlots, SlotsTooWideForTheirTextAreHeldSoTheNextReadingKeepsThem) {
  float slots[kSlotCount];
  ParseSlotText("", slots);
  slots[0] = SlotValue(2147483647);
  slots[1] = SlotValue(-2147483647 - 1);
  slots[2] = SlotValue(444544445);
  slots[3] = 7;
  char text[256];
  FormatSlotText(slots, text, sizeof text);
  EXPECT_EQ(0, strncmp(text, "99999992.00,-9999999.00,99999992.00,7.00,", 41)) << text;
  float again[kSlotCount];
  ParseSlotText(text, again);
  EXPECT_EQ(std::vector<float>(slots, slots + kSlotCount),
            std::vector<float>(again, again + kSlotCount));
}

TEST(RollingSlots, MeanOfTheSlotsThatHoldASample) {
  float slots[kSlotCount];
  ParseSlotText("50,40,60", slots);
  EXPECT_DOUBLE_EQ(50.0, SlotAverage(slots, 40));
  ParseSlotText("", slots);
  EXPECT_DOUBLE_EQ(-1.0, SlotAverage(slots, -1));
  ParseSlotText("57,58", slots);
  EXPECT_DOUBLE_EQ(57.5, SlotAverage(slots, 0));
}

TEST(RollingSlots, RoundingIsHalfUpThenTowardZero) {
  struct Case {
    double average, rounded;
  } cases[] = {{57.5, 58}, {57.4999, 57}, {-3.7, -3}, {-1, 0}, {0, 0}, {99.5, 100}};
  for (const auto& c : cases) {
    const double rounded = RoundAverage(c.average);
    EXPECT_EQ(c.rounded, rounded) << c.average;
    EXPECT_FALSE(std::signbit(rounded) && rounded == 0) << "no negative zero";
  }
}

TEST(RollingSlots, SlotOfTheMinute) {
  EXPECT_EQ(0, SlotOfMinute(0));
  EXPECT_EQ(0, SlotOfMinute(4));
  EXPECT_EQ(1, SlotOfMinute(7));
  EXPECT_EQ(11, SlotOfMinute(55));
  EXPECT_EQ(11, SlotOfMinute(59));
}

}  // namespace
