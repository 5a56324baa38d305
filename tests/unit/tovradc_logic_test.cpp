// The provider's own logic: which paths it reads itself, its value texts and the busy share
// of the processors.
#include <gtest/gtest.h>

#include "counter_path.h"
#include "value_text.h"

namespace {

TEST(CounterPath, Classification) {
  struct Case {
    const wchar_t* path;
    CounterKind kind;
    char drive;
  } cases[] = {
      {L"\\LogicalDisk(C:)\\% Free Space", kPercentFreeSpace, 'C'},
      {L"\\logicaldisk(d:)\\free megabytes", kFreeMegabytes, 'D'},
      {L"\\Processor(_total)\\% Processor Time", kProcessorTime, 0},
      {L"\\Memory\\Available MBytes", kAvailableMegabytes, 0},
      {L"\\LogicalDisk(C:)\\% Idle Time", kOtherCounter, 'C'},
      {L"\\LogicalDisk(1:)\\% Free Space", kOtherCounter, 0},
      {L"\\System\\System Up Time", kOtherCounter, 0},
      {L"", kBadPath, 0},
      {L"\\", kBadPath, 0},
      {L"\\Memory", kBadPath, 0},
      {L"Memory\\Available MBytes", kBadPath, 0},
  };
  for (const auto& c : cases) {
    char drive = 0;
    EXPECT_EQ(c.kind, ClassifyCounterPath(c.path, &drive)) << c.path;
    if (c.drive != 0) {
      EXPECT_EQ(c.drive, drive) << c.path;
    }
  }
}

TEST(ValueText, DecimalsAlwaysWithAPoint) {
  struct Case {
    double value;
    int decimals;
    const char* text;
  } cases[] = {
      {43.2712345678, 6, "43.271235"},
      {0.0, 6, "0.000000"},
      {100.0, 6, "100.000000"},
      {51234.0, 0, "51234"},
      {0.5, 0, "1"},
      {-3.25, 1, "-3.3"},
      {-0.0001, 2, "0.00"},
      {1e300, 0, "18446744073709551615"},
  };
  for (const auto& c : cases) {
    char out[64];
    FormatDecimal(c.value, c.decimals, out, sizeof out);
    EXPECT_STREQ(c.text, out) << c.value;
  }
}

TEST(ValueText, BusyShareOfTheProcessors) {
  EXPECT_DOUBLE_EQ(25.0, BusyPercent(75, 80, 20));  // kernel time includes the idle time
  EXPECT_DOUBLE_EQ(0.0, BusyPercent(0, 0, 0));
  EXPECT_DOUBLE_EQ(0.0, BusyPercent(200, 80, 20));
  EXPECT_DOUBLE_EQ(100.0, BusyPercent(0, 50, 50));
}

}  // namespace
