// CollectAndEvaluate with a stand-in provider: values and verdicts of the records, the
// verdicts kept in config.ini, StateUnchanged, the log order and the pauses.
#include <string>
#include <vector>

#include "collect/evaluation.h"
#include "collect/provider.h"
#include "run/agent_state.h"
#include "support/agent_fixture.h"
#include "support/fake_provider.h"
#include "template/monitor_function.h"

namespace {

const char kDiskC[] = "\\LogicalDisk(C:)\\% Free Space";
const char kProcessor[] = "\\Processor(_total)\\% Processor Time";

class EvaluationTest : public AgentTest {
 protected:
  void SetUp() override {
    AgentTest::SetUp();
    provider = &InstallFakeProvider();
    HMODULE handle = nullptr;
    ASSERT_EQ(1, LoadPerformanceProvider(&handle));
    SetClock(AtLocalMinute(7));
  }
  void TearDown() override {
    HMODULE none = nullptr;
    UnloadPerformanceProvider(&none);
    AgentTest::TearDown();
  }
  void Add(int functionId, const char* path, const char* op, double threshold) {
    MonitorFunction record;
    record.FunctionId = functionId;
    CopyText(record.CounterPath, path);
    CopyText(record.Condition, op);
    record.Threshold = threshold;
    MonitorFunctions.push_back(record);
  }
  int Run(const std::vector<std::string>& statuses, const std::vector<std::string>& values) {
    for (MonitorFunction& record : MonitorFunctions) {
      record.Value = -1.0;
      record.Status[0] = '\0';
    }
    provider->Answer(TextList(values), TextList(statuses));
    log.clear();
    sleeps.clear();
    StateUnchanged = 1;
    return CollectAndEvaluate();
  }
  FakeProvider* provider = nullptr;
  std::vector<DWORD>& sleeps = RecordSleeps();
};

TEST_F(EvaluationTest, VerdictsAreStoredAndAChangeIsNoticed) {
  Add(1, kDiskC, "<", 10);
  Add(2, "\\LogicalDisk(C:)\\Free Megabytes", ">=", 100);
  ASSERT_EQ(1, Run({"0", "0"}, {"43.25", "100"}));
  EXPECT_EQ(43.25, MonitorFunctions[0].Value);
  EXPECT_STREQ("SUCCESS", MonitorFunctions[0].Status);
  EXPECT_STREQ("ERROR", MonitorFunctions[1].Status);
  EXPECT_EQ("1", ConfigValue(kDiskC, "Error"));
  EXPECT_EQ("0", ConfigValue("\\LogicalDisk(C:)\\Free Megabytes", "Error"));
  EXPECT_EQ(0, StateUnchanged);  // stored for the first time

  ASSERT_EQ(1, Run({"0", "0"}, {"40", "200"}));  // the same verdicts again
  EXPECT_EQ(1, StateUnchanged);

  ASSERT_EQ(1, Run({"0", "-2147481647"}, {"40", ""}));  // the second counter is gone
  EXPECT_STREQ("NOT AVAILABLE", MonitorFunctions[1].Status);
  EXPECT_EQ(-2147481647.0, MonitorFunctions[1].Value);
  EXPECT_EQ("2", ConfigValue("\\LogicalDisk(C:)\\Free Megabytes", "Error"));
  EXPECT_EQ(0, StateUnchanged);
}

TEST_F(EvaluationTest, LogOrderAndPauses) {
  Add(1, kDiskC, "<", 10);
  Add(3, kProcessor, ">", 90);
  Add(4, "\\Memory\\Available MBytes", "<", 100);
  ASSERT_EQ(1, Run({"0", "0", "5 "}, {"43.25", "57.9", ""}));
  EXPECT_EQ((std::vector<LoggedLine>{
                {"Getval", "INFO", "Start", "", "Query data"},
                {"Getval", "INFO", "Start", "", "Query data"},
                {"Getval", "INFO", "", "Status", "Success"},
                {"InitDLL", "INFO", kDiskC, "present value", "43.25"},
                {"GetVal", "INFO", "avg", "=", "57"},
                {"Getval", "INFO", "", "Status", "Success"},
                {"InitDLL", "INFO", kProcessor, "present value", "57.9"},
                {"Getval", "INFO", "\\Memory\\Available MBytes", "", "NOT AVAILABLE"},
            }),
            LinesOf({"Getval", "GetVal", "InitDLL"}));
  EXPECT_EQ(57.0, MonitorFunctions[1].Value);  // the rounded average of the one sample 57
  EXPECT_EQ(5.0, MonitorFunctions[2].Value);   // "5 " is not "0": its number is the value
  // 20 ms per element of the request, then no pause after NOT AVAILABLE.
  EXPECT_EQ((std::vector<DWORD>{20, 20, 20, 40, 10, 40}), sleeps);
  EXPECT_NE(std::string::npos, ConfigValue("avg", "3").find("57.00,"));
}

TEST_F(EvaluationTest, RecordsSharingACounterPathShareTheirEntry) {
  Add(1, kDiskC, "<", 10);
  Add(1, kDiskC, ">", 10);
  ASSERT_EQ(1, Run({"0", "0"}, {"50", "50"}));
  EXPECT_STREQ("SUCCESS", MonitorFunctions[0].Status);
  EXPECT_STREQ("ERROR", MonitorFunctions[1].Status);
  EXPECT_EQ("0", ConfigValue(kDiskC, "Error"));  // the second compared against the first
  ASSERT_EQ(1, Run({"0", "0"}, {"50", "50"}));
  EXPECT_EQ(0, StateUnchanged);  // "0" -> "1" -> "0" within the pass
}

TEST_F(EvaluationTest, CountersThatCouldNotBeReadInAnyForm) {
  Add(1, kDiskC, "<", 10);
  Add(1, "\\LogicalDisk(D:)\\% Free Space", "<", 10);
  Add(1, "\\LogicalDisk(E:)\\% Free Space", "<", 10);
  provider->Answer(IntegerList({1, 2, 3}), TextList({"0", "00", "-3.5"}));
  StateUnchanged = 1;
  ASSERT_EQ(1, CollectAndEvaluate());
  for (const MonitorFunction& record : MonitorFunctions) {
    EXPECT_STREQ("NOT AVAILABLE", record.Status) << record.CounterPath;
  }
  EXPECT_EQ(0.0, MonitorFunctions[0].Value);  // "0" with no value text
  EXPECT_EQ(-3.5, MonitorFunctions[2].Value);
}

TEST_F(EvaluationTest, FewerResultsLeaveTheLastRecordsUntouched) {
  Add(1, kDiskC, "<", 10);
  Add(1, "\\LogicalDisk(D:)\\% Free Space", "<", 10);
  ASSERT_EQ(1, Run({"0"}, {"50"}));
  EXPECT_STREQ("", MonitorFunctions[1].Status);
  EXPECT_EQ(-1.0, MonitorFunctions[1].Value);
  EXPECT_EQ("<none>", ConfigValue("\\LogicalDisk(D:)\\% Free Space", "Error"));
}

TEST_F(EvaluationTest, MoreResultsThanRecordsAreIgnoredWithOneLine) {
  Add(1, kDiskC, "<", 10);
  ASSERT_EQ(1, Run({"0", "0", "0"}, {"50", "1", "2"}));
  EXPECT_STREQ("SUCCESS", MonitorFunctions[0].Status);
  EXPECT_EQ((LoggedLine{"Getval", "ERROR", "Query data", "3 results for 1 records",
                        "extra results ignored"}),
            LinesOf({"Getval"}).at(2));
}

TEST_F(EvaluationTest, NoAnswerTouchesNothing) {
  Add(1, kDiskC, "<", 10);
  VARIANT none;
  VariantInit(&none);
  provider->Answer(none, none);
  EXPECT_EQ(0, CollectAndEvaluate());
  EXPECT_STREQ("", MonitorFunctions[0].Status);
  EXPECT_EQ("<none>", ConfigValue(kDiskC, "Error"));
}

}  // namespace
