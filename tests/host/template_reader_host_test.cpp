// The template reader under the sanitizers: values at every length limit, non-ASCII bytes,
// huge counts and many sections, over a template in memory.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "host_reports.h"
#include "support/memory_template.h"
#include "template/monitor_function.h"
#include "template/template_reader.h"

namespace {

class HostTemplateReader : public ::testing::Test {
 protected:
  void SetUp() override {
    MonitorFunctions.clear();
    HostLog.clear();
    HostReports.clear();
  }
};

TEST_F(HostTemplateReader, ValuesAtTheirLimits) {
  const std::string longest(254, '\xe9');
  std::string ini = "[DCM]\nTid=" + longest + "\nTver=" + longest + "\nCount=3\n";
  ini += "[DCM1]\nId=2\nscriptid=7\nOSthreshold=" + longest +
         "\nOScondition=" + std::string(19, '<') + "\nNOSCount=3\nDrv1=" + longest +
         "\nCond1=" + longest + "\nThreshold1=1\nDrv2=" + std::string(253, 'D') +
         "\nCond2=" + longest + "\nThreshold2=" + longest + "\nDrv3=E\nCond3=<\nThreshold3=2\n";
  ini += "[DCM2]\nId=4\nscriptid=8\nOSthreshold=1\nOScondition=" + std::string(20, '<') + "\n";
  ini += "[DCM3]\nId=1\nscriptid=9\nNOSCount=-1\nNOScondition=" + longest + "\n";
  ASSERT_TRUE(ReadMonitorFunctions(
      MemoryTemplate(ini, 'C', {{'C', true}, {'D', true}, {'E', true}, {'F', true}})));
  for (const MonitorFunction& r : MonitorFunctions) {
    EXPECT_LT(strlen(r.Instance), sizeof r.Instance);
    EXPECT_LT(strlen(r.Condition), sizeof r.Condition);
    EXPECT_LT(strlen(r.CounterPath), sizeof r.CounterPath);
  }
  ASSERT_EQ(6u, MonitorFunctions.size());  // C and D, E of DCM1; D, E, F of DCM3
  EXPECT_EQ(std::string(253, 'D') + ":", MonitorFunctions[1].Instance);
  EXPECT_EQ(254u, strlen(MonitorFunctions[3].Condition));
}

TEST_F(HostTemplateReader, ManySectionsAndHugeCountsStayLinear) {
  std::string ini = "[DCM]\nTid=1\nTver=1\nCount=2147483647\n";
  for (int i = 1; i <= 10000; ++i) {
    ini += "[DCM" + std::to_string(i) + "]\nId=3\nscriptid=1\nOSthreshold=1\nOScondition=>\n";
  }
  ASSERT_TRUE(ReadMonitorFunctions(MemoryTemplate(ini)));
  EXPECT_EQ(10000u, MonitorFunctions.size());
  EXPECT_LT(MemoryTemplateReads(), 10000 * 5 + 10);
  ASSERT_FALSE(HostLog.empty());
  EXPECT_EQ("DCM10002 to DCM2147483647", HostLog.back().Val1);
}

TEST_F(HostTemplateReader, CountsAtTheEdgesOf32Bits) {
  struct Case {
    const char* count;
    bool goesOn;
  } cases[] = {{"2147483648", true}, {"-2147483649", true}, {"-1", true}, {"0", false}};
  for (const auto& c : cases) {
    MonitorFunctions.clear();
    std::string ini = std::string("[DCM]\nTid=1\nTver=1\nCount=") + c.count +
                      "\n[DCM1]\nId=3\nscriptid=1\nOSthreshold=1\nOScondition=>\n";
    EXPECT_EQ(c.goesOn, ReadMonitorFunctions(MemoryTemplate(ini))) << c.count;
  }
}

}  // namespace
