// Reading the monitored functions from a template in memory: the records to the field, the
// order, every faulty-section line and report, and the limits the agent sets.
#include <string>
#include <vector>

#include "support/agent_fixture.h"
#include "support/memory_template.h"
#include "template/monitor_function.h"
#include "template/template_reader.h"

namespace {

// Every report goes out: the clock moves five hours at each interval check.
__time64_t clockNow;
__time64_t SteppingTime(__time64_t* out) {
  clockNow += 5 * 3600;
  if (out) *out = clockNow;
  return clockNow;
}

class TemplateReaderTest : public AgentTest {
 protected:
  void SetUp() override {
    AgentTest::SetUp();
    clockNow = 1331751071;
    Platform.Time64 = SteppingTime;
  }

  bool Read(const std::string& ini, char systemDrive = 'C',
            const std::vector<MemoryDrive>& drives = {{'C', true}}) {
    return ReadMonitorFunctions(MemoryTemplate(ini, systemDrive, drives));
  }
  std::vector<LoggedLine> TemplateLines() const { return LinesOf({"WM", "InitDLL"}); }
  struct Expected {
    int FunctionId, ScriptId;
    double Threshold;
    const char* Instance;
    int IsOsDrive;
    const char *CounterPath, *Condition;
  };
  void ExpectRecords(const std::vector<Expected>& expected) const {
    ASSERT_EQ(expected.size(), MonitorFunctions.size());
    for (size_t i = 0; i < expected.size(); ++i) {
      const MonitorFunction& r = MonitorFunctions[i];
      const Expected& e = expected[i];
      EXPECT_EQ(e.FunctionId, r.FunctionId) << i;
      EXPECT_EQ(e.ScriptId, r.ScriptId) << i;
      EXPECT_EQ(e.Threshold, r.Threshold) << i;
      EXPECT_STREQ(e.Instance, r.Instance) << i;
      EXPECT_EQ(e.IsOsDrive, r.IsOsDrive) << i;
      EXPECT_STREQ(e.CounterPath, r.CounterPath) << i;
      EXPECT_STREQ(e.Condition, r.Condition) << i;
      EXPECT_EQ(-1.0, r.Value) << i;
      EXPECT_STREQ("", r.Status) << i;
    }
  }

  FakeWebPost& library = web;
};

const char kHead[] = "[DCM]\nTid=17\nTver=3\n";

TEST_F(TemplateReaderTest, DocumentedExampleToTheField) {
  ASSERT_TRUE(Read(std::string(kHead) +
                       "Count=2\n"
                       "[DCM1]\nId=1\nscriptid=501\nOSthreshold=10\nOScondition=<\nNOSCount=1\n"
                       "Drv1=D\nCond1=<\nThreshold1=5\n"
                       "[DCM2]\nId=3\nscriptid=502\nOSthreshold=90\nOScondition=>\n",
                   'C', {{'C', true}, {'D', true}}));
  ExpectRecords({{1, 501, 10.0, "C", 1, "\\LogicalDisk(C:)\\% Free Space", "<"},
                 {1, 501, 5.0, "D:", 0, "\\LogicalDisk(D:)\\% Free Space", "<"},
                 {3, 502, 90.0, "_Total", 0, "\\Processor(_total)\\% Processor Time", ">"}});
  EXPECT_STREQ("17", TemplateId);
  EXPECT_STREQ("3", TemplateVersion);
  EXPECT_EQ((std::vector<LoggedLine>{{"InitDLL", "INFO", "Counter to monitor", "=", "2"}}),
            TemplateLines());
  EXPECT_TRUE(Reports().empty());
}

TEST_F(TemplateReaderTest, NothingToMonitor) {
  for (const char* count : {"", "Count=\n", "Count=0\n", "Count=abc\n"}) {
    log.clear();
    library.Documents.clear();
    EXPECT_FALSE(Read(std::string(kHead) + count + "[DCM1]\nId=3\n")) << count;
    EXPECT_EQ((LoggedLine{"WM", "INFO", "", "", "No object to monitor"}), TemplateLines().back())
        << count;
    EXPECT_EQ(std::vector<std::string>{"No object to monitor"}, Reports()) << count;
    EXPECT_TRUE(MonitorFunctions.empty());
  }
}

TEST_F(TemplateReaderTest, NegativeCountReadsNoSectionAndGoesOn) {
  EXPECT_TRUE(Read(std::string(kHead) + "Count=-2\n[DCM1]\nId=3\nscriptid=1\n"));
  EXPECT_TRUE(MonitorFunctions.empty());
  EXPECT_EQ(3, MemoryTemplateReads());  // Tid, Tver and Count only
}

TEST_F(TemplateReaderTest, TemplateIdentityComesFirst) {
  EXPECT_FALSE(Read("[DCM]\nCount=1\n"));
  EXPECT_EQ((std::vector<LoggedLine>{
                {"WM", "ERROR", "", "korvpath", "Template ID missing in desktop.ini"}}),
            TemplateLines());
  EXPECT_EQ(std::vector<std::string>{"Template ID missing in desktop.ini"}, Reports());
  log.clear();
  library.Documents.clear();
  EXPECT_FALSE(Read("[DCM]\nTid=5\nCount=1\n"));
  EXPECT_EQ(std::vector<std::string>{"Template Version missing in desktop.ini"}, Reports());
}

TEST_F(TemplateReaderTest, FaultySectionsAreReportedAndTheNextOnesRead) {
  ASSERT_TRUE(Read(std::string(kHead) +
                   "Count=7\n"
                   "[DCM1]\nId=4\nscriptid=1\nOSthreshold=100\nOScondition=<\n"
                   "[DCM2]\nId=abc\nscriptid=2\n"
                   "[DCM3]\nId=4\nscriptid=0\n"
                   "[DCM4]\nId=3\nscriptid=4\nOScondition=>\n"
                   "[DCM5]\nId=3\nscriptid=5\nOSthreshold=80\n"
                   "[DCM6]\nId=3\nscriptid=6\nOSthreshold=80\nOScondition=" +
                   std::string(20, '>') +
                   "\n"
                   "[DCM7]\nId=7\nscriptid=7\nOSthreshold=1\nOScondition===\n"));
  ExpectRecords({{4, 1, 100.0, "_Total", 0, "\\Memory\\Available MBytes", "<"},
                 {7, 7, 1.0, "_Total", 0, "", "=="}});
  EXPECT_EQ((std::vector<LoggedLine>{
                {"InitDLL", "INFO", "Counter to monitor", "=", "7"},
                {"WM", "ERROR", "DCM2", "Missing key", "ID"},
                {"WM", "ERROR", "DCM3", "Missing key", "ScriptID"},
                {"WM", "ERROR", "DCM4", "Missing key", "OSthreshold"},
                {"WM", "ERROR", "DCM5", "Missing key", "OScondition"},
                {"WM", "ERROR", "DCM6", "Missing key", "OScondition"},
            }),
            TemplateLines());
  EXPECT_EQ((std::vector<std::string>{
                "Function ID missing in section  2", "Script ID missing of section = 3",
                "OSthreshold missing in funID = 3", "OScondition missing in funID = 3",
                "OScondition missing in funID = 3"}),
            Reports());
}

TEST_F(TemplateReaderTest, DiskFunctionOverListedDrives) {
  ASSERT_TRUE(Read(std::string(kHead) +
                       "Count=3\n"
                       "[DCM1]\nId=2\nscriptid=11\nNOSCount=2\nDrv1=E\nCond1=<\nThreshold1=500\n"
                       "Drv2=F:\nCond2=<=\nThreshold2=7.9\n"
                       "[DCM2]\nId=1\nscriptid=12\nOSthreshold=0\nOScondition=<\nNOSCount=4\n"
                       "Drv1=c\nCond1=<\nThreshold1=1\nDrv3=D\nCond3=!=\nThreshold3=3\n"
                       "Drv4=E\nThreshold4=4\n"
                       "[DCM3]\nId=1\nscriptid=13\nOSthreshold=5\nNOSCount=1\nDrv1=D\n"
                       "Cond1=>\nThreshold1=9\n",
                   'C', {{'C', true}, {'D', true}, {'E', true}, {'F', true}}));
  ExpectRecords({
      {2, 11, 500.0, "E:", 0, "\\LogicalDisk(E:)\\Free Megabytes", "<"},
      {2, 11, 7.0, "F::", 0, "\\LogicalDisk(F:)\\Free Megabytes", "<="},
      {1, 12, 0.0, "C", 1, "\\LogicalDisk(C:)\\% Free Space", "<"},
      {1, 12, 3.0, "D:", 0, "\\LogicalDisk(D:)\\% Free Space", "!="},
      {1, 13, 9.0, "D:", 0, "\\LogicalDisk(D:)\\% Free Space", ">"},
  });
  EXPECT_EQ((std::vector<LoggedLine>{
                {"InitDLL", "INFO", "Counter to monitor", "=", "3"},
                {"WM", "ERROR", "DCM2", "Missing key", "Drv2"},
                {"WM", "ERROR", "DCM2", "Missing key", "Cond4"},
                {"WM", "ERROR", "DCM3", "Missing key", "OSParameter"},
            }),
            TemplateLines());
  EXPECT_EQ((std::vector<std::string>{"Drv2 missing in funID = 1", "Cond4 missing in funID = 1",
                                      "OSParameter tampered in funID = 1"}),
            Reports());
}

TEST_F(TemplateReaderTest, EveryOtherFixedDrive) {
  ASSERT_TRUE(Read(std::string(kHead) +
                       "Count=2\n"
                       "[DCM1]\nId=1\nscriptid=21\nOSthreshold=10\nOScondition=<\nNOSCount=-1\n"
                       "NOScondition=<=\n"
                       "[DCM2]\nId=2\nscriptid=22\nNOSCount=-1\nNOSthreshold=300\n",
                   'C', {{'A', false}, {'C', true}, {'D', true}, {'E', false}, {'G', true}}));
  ExpectRecords({
      {1, 21, 10.0, "C", 1, "\\LogicalDisk(C:)\\% Free Space", "<"},
      {1, 21, 0.0, "D", 0, "\\LogicalDisk(D:)\\% Free Space", "<="},
      {1, 21, 0.0, "G", 0, "\\LogicalDisk(G:)\\% Free Space", "<="},
  });
  EXPECT_EQ((std::vector<std::string>{"NOSCondition missing in funID = 2"}), Reports());
}

TEST_F(TemplateReaderTest, SectionsAfterTheNinthHaveTheirOwnNames) {
  std::string ini = std::string(kHead) + "Count=11\n";
  for (int i = 1; i <= 11; ++i) {
    ini += "[DCM" + std::to_string(i) + "]\nId=4\nscriptid=" + std::to_string(100 + i) +
           "\nOSthreshold=1\nOScondition=<\n";
  }
  ini += "[DCM:]\nId=4\nscriptid=999\nOSthreshold=1\nOScondition=<\n";
  ASSERT_TRUE(Read(ini));
  ASSERT_EQ(11u, MonitorFunctions.size());
  for (int i = 0; i < 11; ++i)
    EXPECT_EQ(101 + i, MonitorFunctions[i].ScriptId);
}

TEST_F(TemplateReaderTest, HugeCountsStopWhereTheTemplateEnds) {
  ASSERT_TRUE(Read(std::string(kHead) +
                       "Count=2147483647\n"
                       "[DCM1]\nId=1\nscriptid=1\nNOSCount=2147483647\nDrv1=D\nCond1=<\n"
                       "Threshold1=1\nDrv30=E\nCond30=<\nThreshold30=1\n"
                       "[DCM2]\nId=4\nscriptid=2\nOSthreshold=1\nOScondition=<\n",
                   'C', {{'C', true}, {'D', true}, {'E', true}}));
  EXPECT_EQ(2u, MonitorFunctions.size());
  EXPECT_LT(MemoryTemplateReads(), 200);
  std::vector<LoggedLine> lines = TemplateLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ((LoggedLine{"WM", "ERROR", "DCM3", "Missing key", "ID"}), lines[lines.size() - 2]);
  EXPECT_EQ((LoggedLine{"WM", "ERROR", "DCM4 to DCM2147483647", "Missing key", "ID"}),
            lines.back());
  EXPECT_EQ((LoggedLine{"WM", "ERROR", "DCM1", "NOSCount",
                        "Drv27 missing: drives 27 to 2147483647 not read"}),
            lines[lines.size() - 3]);
}

TEST_F(TemplateReaderTest, ShortGapsAreReadSectionBySectionLongOnesInOneLine) {
  const std::string function = "Id=4\nscriptid=1\nOSthreshold=1\nOScondition=<\n";
  ASSERT_TRUE(Read(std::string(kHead) + "Count=500001\n[DCM1]\n" + function + "[DCM4]\n" +
                   function + "[DCM500000]\n" + function));
  EXPECT_EQ(3u, MonitorFunctions.size());
  EXPECT_LT(MemoryTemplateReads(), 100);
  std::vector<LoggedLine> lines = TemplateLines();
  EXPECT_EQ((std::vector<LoggedLine>{
                {"InitDLL", "INFO", "Counter to monitor", "=", "500001"},
                {"WM", "ERROR", "DCM2", "Missing key", "ID"},
                {"WM", "ERROR", "DCM3", "Missing key", "ID"},
                {"WM", "ERROR", "DCM5", "Missing key", "ID"},
                {"WM", "ERROR", "DCM6 to DCM499999", "Missing key", "ID"},
                {"WM", "ERROR", "DCM500001", "Missing key", "ID"},
            }),
            lines);
  EXPECT_EQ((std::vector<std::string>{
                "Function ID missing in section  2", "Function ID missing in section  3",
                "Function ID missing in section  5", "Function ID missing in section  500001"}),
            Reports());
}

TEST_F(TemplateReaderTest, OverlongDriveValueIsRefusedLikeAMissingOne) {
  ASSERT_TRUE(Read(std::string(kHead) + "Count=1\n[DCM1]\nId=2\nscriptid=1\nNOSCount=2\nDrv1=" +
                       std::string(254, 'D') + "\nCond1=<\nThreshold1=1\nDrv2=" +
                       std::string(253, 'E') + "\nCond2=<\nThreshold2=1\n",
                   'C', {{'C', true}}));
  ASSERT_EQ(1u, MonitorFunctions.size());
  EXPECT_EQ(std::string(253, 'E') + ":", MonitorFunctions[0].Instance);
  EXPECT_STREQ("\\LogicalDisk(E:)\\Free Megabytes", MonitorFunctions[0].CounterPath);
  EXPECT_EQ(std::vector<std::string>{"Drv1 missing in funID = 2"}, Reports());
}

}  // namespace
