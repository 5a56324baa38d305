// UpdateRollingAverage over config.ini: the slot of the local minute, the written text, the
// rounded average, the pause and the log line of a real sample.
#include <string>

#include "collect/rolling_average.h"
#include "support/agent_fixture.h"

namespace {

class RollingAverageTest : public AgentTest {
 protected:
  double Update(int sample, int functionId) {
    double average = 12345.0;
    EXPECT_EQ(1, UpdateRollingAverage(sample, functionId, average));
    return average;
  }
  std::vector<DWORD>& sleeps = RecordSleeps();
};

const char kEmpty[] = "-1.00,";

std::string Text(std::initializer_list<const char*> head) {
  std::string text;
  int count = 0;
  for (const char* item : head) {
    text += item;
    text += ",";
    ++count;
  }
  for (; count < 12; ++count)
    text += kEmpty;
  return text;
}

TEST_F(RollingAverageTest, FirstSampleOfAFunction) {
  SetClock(AtLocalMinute(7));
  EXPECT_EQ(40.0, Update(40, 3));
  EXPECT_EQ(Text({"-1.00", "40.00"}), ConfigValue("avg", "3"));
  EXPECT_EQ((std::vector<LoggedLine>{{"GetVal", "INFO", "avg", "=", "40"}}), log);
  EXPECT_EQ(std::vector<DWORD>{10}, sleeps);
}

TEST_F(RollingAverageTest, SampleJoinsTheStoredSlots) {
  SetClock(AtLocalMinute(7));
  SetConfigValue("avg", "4", Text({"50.00", "-1.00", "60.00"}).c_str());
  EXPECT_EQ(50.0, Update(40, 4));
  EXPECT_EQ(Text({"50.00", "40.00", "60.00"}), ConfigValue("avg", "4"));
}

TEST_F(RollingAverageTest, EmptyingTheCurrentSlotWritesNoLine) {
  SetClock(AtLocalMinute(59));
  EXPECT_EQ(0.0, Update(-1, 3));
  EXPECT_EQ(Text({}), ConfigValue("avg", "3"));
  SetConfigValue("avg", "3", "57,58,,,,,,,,,,99");
  EXPECT_EQ(58.0, Update(-1, 3));  // slot 11 emptied; (57 + 58) / 2 = 57.5 rounds to 58
  EXPECT_EQ(Text({"57.00", "58.00"}), ConfigValue("avg", "3"));
  EXPECT_TRUE(log.empty());
}

TEST_F(RollingAverageTest, OverlongStoredItemEndsTheReading) {
  SetClock(AtLocalMinute(30));
  SetConfigValue("avg", "12", "1.00,2.00,3.00,4.00,123456789.00,6.00,7.00,");
  EXPECT_EQ(8.0, Update(30, 12));  // (1 + 2 + 3 + 4 + 30) / 5: slots 4 on were not read
  EXPECT_EQ(Text({"1.00", "2.00", "3.00", "4.00", "-1.00", "-1.00", "30.00"}),
            ConfigValue("avg", "12"));
  EXPECT_EQ("<none>", ConfigValue("avg", "012"));
}

}  // namespace
