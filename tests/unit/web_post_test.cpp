// PostToServer against an in-process stand-in for Lorsend.dll: the URL by kind, the proxy
// settings, every log line of the table, the judgement of the replies and the release of
// the library on every path.
#include <new>
#include <string>
#include <vector>

#include "report/web_post.h"
#include "run/agent_state.h"
#include "support/agent_fixture.h"

namespace {

const char kDocument[] = "<wpdcmsccdskmonins><regid>12345</regid></wpdcmsccdskmonins>";

class WebPostTest : public AgentTest {
 protected:
  void SetUp() override {
    AgentTest::SetUp();
    hklm.SetString("SOFTWARE\\VUREZU", "ServerHost", "127.0.0.1:8443");
  }

  // The lines of one call up to the document, as the table gives them.
  std::vector<LoggedLine> Preamble(const std::string& url, const std::string& ip = "",
                                   const std::string& port = "", const std::string& user = "",
                                   const std::string& password = "") {
    return {{"directWeb_Post", "INFO", "ControllerSSite", url, " "},
            {"directWeb_Post", "INFO", "ProxyIP", ip, " "},
            {"directWeb_Post", "INFO", "ProxyPort", port, " "},
            {"directWeb_Post", "INFO", "ProxyUserName", user, " "},
            {"directWeb_Post", "INFO", "ProxyPassword", password, " "},
            {"directWeb_Post", "INFO", "web Post", "Start", " "},
            {"directWeb_Post", "INFO", "web Post", kDocument, " "}};
  }
  std::vector<LoggedLine> After(size_t count) const {
    return std::vector<LoggedLine>(log.begin() + static_cast<long>(count), log.end());
  }

  PrivateLocalMachine hklm;
  FakeWebPost& library = web;
  std::vector<DWORD>& sleeps = RecordSleeps();
};

const std::string kStatusUrl =
    "https://127.0.0.1:8443/tfr_wpdcmsccdskmonins.asp?mmid=m-77&sid=s-9&rid=12345&rty=1";
const LoggedLine kStart = {"directWeb_Post", "INFO", "web Post", "Start", " "};
const LoggedLine kEnd = {"directWeb_Post", "INFO", "web Post", "End", " "};

TEST_F(WebPostTest, AcceptedStatusReply) {
  library.Accept();
  EXPECT_TRUE(PostToServer(kDocument, 1));
  std::vector<LoggedLine> expected = Preamble(kStatusUrl);
  expected.push_back(kStart);
  expected.push_back(kEnd);
  expected.push_back({"directWeb_Post", "INFO", "web Post", "Status", "umaint='1'"});
  EXPECT_EQ(expected, log);
  EXPECT_EQ(std::vector<DWORD>{40}, sleeps);
  EXPECT_EQ((std::vector<std::string>{kStatusUrl, kDocument, "N", "", "", "", ""}), library.Inputs);
  EXPECT_EQ(std::vector<VARTYPE>(7, VT_BSTR), library.InputTypes);
  EXPECT_EQ(std::vector<std::string>{folder.Path() + "\\\\Lorsend.dll"},
            library.Library.LoadedPaths);
  EXPECT_EQ(1, library.Library.Freed);
}

TEST_F(WebPostTest, UrlByKindWithTheIdentityInOrderAndEncoded) {
  library.Accept(L"ok");
  CopyText(AgentIdentity.MemberId, "m 1&x=y");
  CopyText(AgentIdentity.Type, "t\xe9/");
  struct Case {
    int kind;
    const char* url;
  } cases[] = {
      {0,
       "https://127.0.0.1:8443/tfr_wpdcmmonalert.asp?mmid=m%201%26x%3Dy&sid=s-9&rid=12345&"
       "rty=t%E9%2F"},
      {1,
       "https://127.0.0.1:8443/tfr_wpdcmsccdskmonins.asp?mmid=m%201%26x%3Dy&sid=s-9&rid=12345&"
       "rty=t%E9%2F"},
      {7,
       "https://127.0.0.1:8443/tfr_wpdcmsccdskmonins.asp?mmid=m%201%26x%3Dy&sid=s-9&rid=12345&"
       "rty=t%E9%2F"},
  };
  for (const Case& c : cases) {
    log.clear();
    PostToServer(kDocument, c.kind);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(c.url, log[0].Val2);
    EXPECT_EQ(c.url, library.Inputs[0]);
  }
}

TEST_F(WebPostTest, DefaultHostWhenTheRegistryNamesNone) {
  library.Accept(L"ok");
  for (const char* host : {static_cast<const char*>(""), static_cast<const char*>(nullptr)}) {
    if (host) {
      hklm.SetString("SOFTWARE\\VUREZU", "ServerHost", host);
    } else {
      RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\VUREZU", "ServerHost");
    }
    log.clear();
    PostToServer(kDocument, 0);
    EXPECT_EQ(std::string("https://") + kDefaultServerHost +
                  "/tfr_wpdcmmonalert.asp?mmid=m-77&sid=s-9&rid=12345&rty=1",
              log.at(0).Val2);
  }
}

TEST_F(WebPostTest, MissingLibraryMeansNoPauseAndNoCall) {
  library.Library.Loads = false;
  EXPECT_FALSE(PostToServer(kDocument, 1));
  std::vector<LoggedLine> expected = Preamble(kStatusUrl);
  expected.push_back({"directWeb_Post", "ERROR", "", "", "web Post Dll missing "});
  EXPECT_EQ(expected, log);
  EXPECT_TRUE(sleeps.empty());
  EXPECT_EQ(0, library.Calls);
  EXPECT_EQ(0, library.Library.Freed);
}

TEST_F(WebPostTest, LibraryWithoutExportIsReleased) {
  library.Library.HasExport = false;
  EXPECT_FALSE(PostToServer(kDocument, 1));
  std::vector<LoggedLine> expected = Preamble(kStatusUrl);
  expected.push_back({"directWeb_Post", "ERROR", "", "fn", "web Post Dll missing  "});
  EXPECT_EQ(expected, log);
  EXPECT_TRUE(sleeps.empty());
  EXPECT_EQ(1, library.Library.Freed);
}

TEST_F(WebPostTest, JudgementOfTheReplies) {
  struct Case {
    const char* name;
    VARTYPE types[3];
    const wchar_t* texts[3];
    bool accepted;
    std::vector<LoggedLine> tail;  // the lines after "End"
  } cases[] = {
      {"maintenance marker",
       {VT_BSTR, VT_EMPTY, VT_EMPTY},
       {L"x umaint='0' y", L"", L""},
       false,
       {{"directWeb_Post", "INFO", "web Post", "Status", "x umaint='0' y"}}},
      {"marker in another case",
       {VT_BSTR, VT_EMPTY, VT_EMPTY},
       {L"UMAINT='0'", L"", L""},
       true,
       {{"directWeb_Post", "INFO", "web Post", "Status", "UMAINT='0'"}}},
      {"error code with all replies",
       {VT_BSTR, VT_BSTR, VT_BSTR},
       {L"body", L"500", L"Internal Server Error"},
       false,
       {{"directWeb_Post", "ERROR", "web Post", "Error Code", "500"},
        {"directWeb_Post", "ERROR", "web Post", "Error Desc", "Internal Server Error"},
        {"directWeb_Post", "INFO", "web Post", "Return Status", "body"}}},
      {"error code alone",
       {VT_EMPTY, VT_BSTR, VT_EMPTY},
       {L"", L"12029", L""},
       false,
       {{"directWeb_Post", "ERROR", "web Post", "Error Code", "12029"}}},
      {"three empty replies", {VT_EMPTY, VT_EMPTY, VT_EMPTY}, {L"", L"", L""}, false, {}},
      {"description without code", {VT_EMPTY, VT_EMPTY, VT_BSTR}, {L"", L"", L"why"}, false, {}},
      {"status that is not a text",
       {VT_I4, VT_EMPTY, VT_EMPTY},
       {L"", L"", L""},
       true,
       {{"directWeb_Post", "INFO", "web Post", "Status", ""}}},
      {"null text as status",
       {VT_BSTR, VT_EMPTY, VT_EMPTY},
       {nullptr, L"", L""},
       true,
       {{"directWeb_Post", "INFO", "web Post", "Status", ""}}},
  };
  for (const Case& c : cases) {
    for (int i = 0; i < 3; ++i) {
      library.ReplyTypes[i] = c.types[i];
      library.ReplyTexts[i] = c.texts[i] ? c.texts[i] : L"";
    }
    log.clear();
    library.Library.Freed = 0;
    EXPECT_EQ(c.accepted, PostToServer(kDocument, 1)) << c.name;
    const size_t preamble = Preamble(kStatusUrl).size() + 1;  // and the second "Start"
    ASSERT_GT(log.size(), preamble) << c.name;
    EXPECT_EQ(kEnd, log[preamble]) << c.name;
    EXPECT_EQ(c.tail, After(preamble + 1)) << c.name;
    EXPECT_EQ(1, library.Library.Freed) << c.name;
  }
}

TEST_F(WebPostTest, ProxySettingsAreReadOnEveryCallAndThePasswordStaysOutOfTheLog) {
  library.Accept(L"ok");
  EXPECT_TRUE(PostToServer(kDocument, 1));
  EXPECT_EQ((std::vector<std::string>{"", "", "", ""}),
            std::vector<std::string>(library.Inputs.begin() + 3, library.Inputs.end()));

  folder.WriteFile("KorvMobile.ini",
                   "[ProxySettings]\r\nProxyIP=10.0.0.8\r\nProxyPort=3128\r\n"
                   "ProxyUserName=fleet\r\nProxyPassword=s3cret!\r\n");
  log.clear();
  EXPECT_TRUE(PostToServer(kDocument, 1));
  std::vector<LoggedLine> expected = Preamble(kStatusUrl, "10.0.0.8", "3128", "fleet", "********");
  EXPECT_EQ(expected, std::vector<LoggedLine>(log.begin(), log.begin() + 7));
  EXPECT_EQ((std::vector<std::string>{"10.0.0.8", "3128", "fleet", "s3cret!"}),
            std::vector<std::string>(library.Inputs.begin() + 3, library.Inputs.end()));
  for (const LoggedLine& line : log) {
    EXPECT_EQ(std::string::npos, (line.Val1 + line.Val2 + line.Val3).find("s3cret"));
  }
}

int allocationsLeft;
BSTR WINAPI FailingAllocation(const OLECHAR* text, UINT length) {
  if (allocationsLeft-- <= 0) return nullptr;
  return SysAllocStringLen(text, length);
}

TEST_F(WebPostTest, FailedConversionRaisesAndStillReleasesTheLibrary) {
  library.Accept(L"ok");
  Platform.SysAllocStringLen = FailingAllocation;
  allocationsLeft = 2;  // the URL and the document convert, the third text fails
  EXPECT_THROW(PostToServer(kDocument, 1), std::bad_alloc);
  EXPECT_EQ(0, library.Calls);
  EXPECT_EQ(1, library.Library.Freed);
  EXPECT_EQ(kStart, log.back());
}

}  // namespace
