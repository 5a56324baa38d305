// PostMonitorAlert: the interval with StateUnchanged, one try when the first succeeds, three
// tries and the archive when all fail, the pauses, and records left out of a full document.
#include <algorithm>
#include <string>
#include <vector>

#include "collect/evaluation.h"
#include "report/monitor_alert.h"
#include "run/agent_state.h"
#include "support/agent_fixture.h"
#include "template/monitor_function.h"

namespace {

class MonitorAlertTest : public AgentTest {
 protected:
  void SetUp() override {
    AgentTest::SetUp();
    CopyText(TemplateId, "7");
    CopyText(TemplateVersion, "3");
    MonitorFunction record;
    record.ScriptId = 12;
    record.FunctionId = 1;
    record.Threshold = 80;
    record.Value = 45.3;
    CopyText(record.Instance, "C");
    record.IsOsDrive = 1;
    CopyText(record.Status, "SUCCESS");
    MonitorFunctions.push_back(record);
    FixLocalTime(MakeTime(2012, 3, 14, 18, 51, 11));
  }
  std::vector<DWORD>& sleeps = RecordSleeps();
};

TEST_F(MonitorAlertTest, UnchangedStateWaitsForTheInterval) {
  SetConfigValue("webpost", "LastExecute", "1331750000");
  StateUnchanged = 1;
  EXPECT_EQ(0, PostMonitorAlert());
  EXPECT_EQ(0, web.Calls);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ("1331750000", ConfigValue("webpost", "LastExecute"));

  StateUnchanged = 0;  // a verdict changed: the alert goes at once
  EXPECT_EQ(1, PostMonitorAlert());
  EXPECT_EQ(1, web.Calls);
  EXPECT_EQ("1331751071", ConfigValue("webpost", "LastExecute"));
  EXPECT_EQ(
      "<wpdcmmonalert><regid>12345</regid><templid ver=\"3\" tid=\"7\" /><scandatetime>03/14/2012 "
      "18:51:11</scandatetime><regtype>1</regtype><fndata><fn scrid=\"  12\"  fnid =\"   1\" "
      "thdefine=\"  80\" thval=\"  45\" inst=\"C\"  osdrv=\"1\" status=\"SUCCESS\" /></fndata>"
      "</wpdcmmonalert>",
      web.Documents.at(0));
  EXPECT_TRUE(web.Inputs.at(0).find("/tfr_wpdcmmonalert.asp?") != std::string::npos);
  EXPECT_TRUE(LinesOf({"Start_web_post"}).empty());
  EXPECT_EQ((std::vector<DWORD>{20, 40}), sleeps);
}

TEST_F(MonitorAlertTest, ThreeFailedTriesArchiveTheAlert) {
  web.Refuse();
  StateUnchanged = 0;
  EXPECT_EQ(1, PostMonitorAlert());
  EXPECT_EQ(3, web.Calls);
  const std::string name = "ZIVPostLogs\\wpdcmmonalert_N_14032012065111.xml";
  EXPECT_EQ(web.Documents.at(0), folder.ReadFile(name));
  EXPECT_EQ((std::vector<LoggedLine>{
                {"Start_web_post", "INFO", "web Post", "Filename=", folder.Path() + "\\\\" + name},
                {"Start_web_post", "INFO", "web Post", "", "Success"}}),
            LinesOf({"Start_web_post"}));
  EXPECT_EQ(1, PostMonitorAlert());  // a second one in the same second: "_1"
  EXPECT_EQ(web.Documents.at(0),
            folder.ReadFile("ZIVPostLogs\\wpdcmmonalert_N_14032012065111_1.xml"));
}

TEST_F(MonitorAlertTest, RecordsBeyondTheDocumentAreLeftOutAndCounted) {
  MonitorFunctions.resize(300, MonitorFunctions[0]);
  StateUnchanged = 0;
  EXPECT_EQ(1, PostMonitorAlert());
  const std::string& document = web.Documents.at(0);
  EXPECT_LE(document.size(), 5999u);
  EXPECT_EQ("</fndata></wpdcmmonalert>", document.substr(document.size() - 25));
  std::vector<LoggedLine> lines = LinesOf({"Start_web_post"});
  ASSERT_EQ(1u, lines.size());
  EXPECT_EQ("fn elements left out", lines[0].Val2);
  EXPECT_EQ(300u, std::count(sleeps.begin(), sleeps.end(), 20u));
}

BSTR WINAPI NoAllocation(const OLECHAR*, UINT) {
  return nullptr;
}

TEST_F(MonitorAlertTest, AFailedConversionIsCaughtAndTheAlertArchived) {
  Platform.SysAllocStringLen = NoAllocation;
  StateUnchanged = 0;
  EXPECT_EQ(1, PostMonitorAlert());
  std::vector<LoggedLine> lines = LinesOf({"Start_web_post"});
  ASSERT_EQ(3u, lines.size());
  EXPECT_EQ((LoggedLine{"Start_web_post", "INFO", "web Post", "unexpected termination", "Failed"}),
            lines[0]);
  EXPECT_NE(std::string::npos,
            folder.ReadFile("ZIVPostLogs\\wpdcmmonalert_N_14032012065111.xml").find("inst=\"C\""));
  EXPECT_EQ("1331751071", ConfigValue("webpost", "LastExecute"));
}

}  // namespace
