// CheckPostInterval over a real config.ini with a clock the test sets, and ReportStatus
// with a stand-in web-post library: tries, the archive copy, and the handlers.
#include <string>
#include <vector>

#include "report/status_report.h"
#include "support/agent_fixture.h"

namespace {

class StatusReportTest : public AgentTest {
 protected:
  void SetUp() override {
    AgentTest::SetUp();
    FixLocalTime(MakeTime(2012, 3, 14, 18, 51, 11));
  }
  std::string Stamp(const char* key) const { return ConfigValue("webpost", key); }
  std::string ArchiveFolder() const { return folder.Path() + "\\\\ZIVPostLogs"; }
  std::vector<LoggedLine> ArchiveLines() const { return LinesOf({"Start_web_post"}); }
  FakeWebPost& library = web;
};

TEST_F(StatusReportTest, IntervalTable) {
  struct Case {
    const char* name;
    const char* stored;  // nullptr: no key yet
    int applyWindow;
    int result;
  } cases[] = {
      {"no stamp yet", nullptr, 1, 1},
      {"just now", "1331751071", 1, 0},
      {"exactly four hours ago", "1331736671", 1, 0},
      {"exactly four hours ahead", "1331765471", 1, 0},
      {"a second more than four hours ago", "1331736670", 1, 1},
      {"a second more than four hours ahead", "1331765472", 1, 1},
      {"no digits", "abc", 1, 1},
      {"digits then text", "1331751071xyz", 1, 0},
      {"window off", "1331751071", 0, 1},
  };
  for (const auto& c : cases) {
    WritePrivateProfileStringA("webpost", "LastError", c.stored, ConfigFile().c_str());
    EXPECT_EQ(c.result, CheckPostInterval("LastError", c.applyWindow)) << c.name;
    const std::string expected = c.result ? "1331751071" : (c.stored ? c.stored : "<none>");
    EXPECT_EQ(expected, Stamp("LastError")) << c.name;
  }
}

TEST_F(StatusReportTest, StampsAfter2038KeepTheirFormAndTheirWindow) {
  SetClock((__time64_t{1} << 31) + 1000);
  EXPECT_EQ(1, CheckPostInterval("LastExecute", 1));
  EXPECT_EQ("-2147482648", Stamp("LastExecute"));
  SetClock((__time64_t{1} << 31) + 1600);
  EXPECT_EQ(0, CheckPostInterval("LastExecute", 1));
  EXPECT_EQ(1, CheckPostInterval("LastError", 1));  // each key keeps its own stamp
}

TEST_F(StatusReportTest, AcceptedOnTheFirstTry) {
  library.Accept();
  EXPECT_EQ(1, ReportStatus("Missing SITE ID"));
  EXPECT_EQ(1, library.Calls);
  EXPECT_EQ(std::vector<std::string>{"<wpdcmsccdskmonins><regid>12345</regid><scandt>03/14/2012 "
                                     "18:51:11</scandt><status>0</status><exever>1.1.0.11</"
                                     "exever><errcode>2</errcode><errdesc>Missing SITE "
                                     "ID</errdesc></wpdcmsccdskmonins>"},
            library.Documents);
  EXPECT_TRUE(ArchiveLines().empty());
  EXPECT_EQ("1331751071", Stamp("LastError"));
}

TEST_F(StatusReportTest, OneReportPerWindow) {
  library.Accept();
  EXPECT_EQ(1, ReportStatus("first"));
  log.clear();
  SetClock(1331751071 + 3600);
  EXPECT_EQ(0, ReportStatus("second"));
  EXPECT_EQ(1, library.Calls);
  EXPECT_TRUE(log.empty());
}

TEST_F(StatusReportTest, ThreeFailedTriesLeaveTheDocumentInTheArchive) {
  library.Refuse();
  EXPECT_EQ(1, ReportStatus("Missing SITE ID"));
  EXPECT_EQ(3, library.Calls);
  const std::string path = ArchiveFolder() + "\\wpdcmsccdskmonins_N_Quintrel14032012065111.xml";
  EXPECT_EQ((std::vector<LoggedLine>{
                {"Start_web_post", "INFO", "web Post", "Filename=", path},
                {"Start_web_post", "INFO", "web Post", "", "Success"},
            }),
            ArchiveLines());
  EXPECT_EQ(library.Documents[0],
            folder.ReadFile("ZIVPostLogs\\wpdcmsccdskmonins_N_Quintrel14032012065111.xml"));
}

TEST_F(StatusReportTest, ATakenArchiveNameIsNeverReplaced) {
  library.Refuse();
  CreateDirectoryA(folder.Join("ZIVPostLogs").c_str(), nullptr);
  const std::string stem = "ZIVPostLogs\\wpdcmsccdskmonins_N_Quintrel14032012065111";
  folder.WriteFile(stem + ".xml", "older");
  folder.WriteFile(stem + "_1.xml", "older too");
  ReportStatus("third");
  EXPECT_EQ("older", folder.ReadFile(stem + ".xml"));
  EXPECT_EQ("older too", folder.ReadFile(stem + "_1.xml"));
  EXPECT_NE(std::string::npos, folder.ReadFile(stem + "_2.xml").find("<errdesc>third</errdesc>"));
}

HANDLE WINAPI DeniedCreateFile(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE) {
  SetLastError(ERROR_ACCESS_DENIED);
  return INVALID_HANDLE_VALUE;
}

TEST_F(StatusReportTest, AnArchiveThatCannotBeOpenedIsLoggedAsNotWritten) {
  library.Refuse();
  Platform.CreateFileA = DeniedCreateFile;
  EXPECT_EQ(1, ReportStatus("x"));
  std::vector<LoggedLine> lines = ArchiveLines();
  ASSERT_EQ(2u, lines.size());
  EXPECT_EQ("Filename=", lines[0].Val2);
  EXPECT_EQ((LoggedLine{"Start_web_post", "ERROR", "web Post", "Archive not written", "error 5"}),
            lines[1]);
}

BSTR WINAPI NoAllocation(const OLECHAR*, UINT) {
  return nullptr;
}

TEST_F(StatusReportTest, AFailedConversionIsCaughtAndTheDocumentArchived) {
  library.Accept();
  Platform.SysAllocStringLen = NoAllocation;
  EXPECT_EQ(1, ReportStatus("x"));
  EXPECT_EQ(0, library.Calls);
  std::vector<LoggedLine> lines = ArchiveLines();
  ASSERT_EQ(3u, lines.size());
  EXPECT_EQ((LoggedLine{"Start_web_post", "INFO", "web Post", "unexpected termination", "Failed"}),
            lines[0]);
  EXPECT_EQ("Filename=", lines[1].Val2);
  EXPECT_EQ("Success", lines[2].Val3);
  EXPECT_NE(std::string::npos,
            folder.ReadFile("ZIVPostLogs\\wpdcmsccdskmonins_N_Quintrel14032012065111.xml")
                .find("<errdesc>x</errdesc>"));
  EXPECT_EQ("1331751071", Stamp("LastError"));
}

}  // namespace
