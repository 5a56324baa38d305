// The agent's side of the provider: loading, the request's shape and order, the pauses and
// lines around the call, the failures, and safe reading of answers of any shape.
#include <string>
#include <vector>

#include "collect/provider.h"
#include "run/agent_state.h"
#include "support/agent_fixture.h"
#include "support/fake_provider.h"
#include "template/monitor_function.h"

namespace {

const LoggedLine kQueryLine = {"Getval", "INFO", "Start", "", "Query data"};

class ProviderTest : public AgentTest {
 protected:
  void SetUp() override {
    AgentTest::SetUp();
    CopyText(ModuleFolder, "C:\\Suite\\Bin");
  }
  void TearDown() override {
    HMODULE none = nullptr;
    UnloadPerformanceProvider(&none);
    AgentTest::TearDown();
  }
  void AddRecord(const char* path) {
    MonitorFunction record;
    CopyText(record.CounterPath, path);
    MonitorFunctions.push_back(record);
  }
  void Load() {
    HMODULE handle = nullptr;
    ASSERT_EQ(1, LoadPerformanceProvider(&handle));
  }
  FakeProvider& provider = InstallFakeProvider();
  std::vector<DWORD>& sleeps = RecordSleeps();
};

TEST_F(ProviderTest, LoadedBesideTheExecutable) {
  HMODULE handle = nullptr;
  EXPECT_EQ(1, LoadPerformanceProvider(&handle));
  EXPECT_NE(nullptr, handle);
  EXPECT_NE(nullptr, ProviderQuery);
  EXPECT_EQ(std::vector<std::string>{"C:\\Suite\\Bin\\tovradc.dll"}, provider.Library.LoadedPaths);
  EXPECT_EQ((std::vector<LoggedLine>{{"InitDLL", "INFO", "", "Success", "Tovra dll Loaded"}}), log);
  UnloadPerformanceProvider(&handle);
  EXPECT_EQ(nullptr, handle);
  EXPECT_EQ(nullptr, ProviderQuery);
  EXPECT_EQ(1, provider.Library.Freed);
}

TEST_F(ProviderTest, MissingLibraryIsLoggedAndReported) {
  provider.Library.Loads = false;
  HMODULE handle = reinterpret_cast<HMODULE>(1);
  EXPECT_EQ(0, LoadPerformanceProvider(&handle));
  EXPECT_EQ(nullptr, handle);
  EXPECT_EQ((LoggedLine{"InitDLL", "ERROR", "", "Failure", "Tovra dll Missing"}), log.at(0));
  EXPECT_EQ(std::vector<std::string>{"Tovra dll Missing"}, Reports());
}

TEST_F(ProviderTest, LibraryWithoutExportIsLoadedThenCorrupted) {
  provider.Library.HasExport = false;
  HMODULE handle = nullptr;
  EXPECT_EQ(0, LoadPerformanceProvider(&handle));
  EXPECT_NE(nullptr, handle);  // kept for the teardown to free
  EXPECT_EQ((LoggedLine{"InitDLL", "INFO", "", "Success", "Tovra dll Loaded"}), log.at(0));
  EXPECT_EQ((LoggedLine{"InitDLL", "ERROR", "", "Failure", "Tovra dll corrupted"}), log.at(1));
  EXPECT_EQ(std::vector<std::string>{"Tovra dll corrupted"}, Reports());
}

TEST_F(ProviderTest, RequestHoldsEveryPathInOrderEmptyOnesIncluded) {
  Load();
  AddRecord("\\LogicalDisk(C:)\\% Free Space");
  AddRecord("");
  AddRecord("\\Memory\\Available MBytes");
  provider.Answer(TextList({"1", "2", "3"}), TextList({"0", "0", "0"}));
  log.clear();
  ProviderResult result;
  ASSERT_TRUE(QueryPerformanceData(&result));
  EXPECT_EQ(VT_ARRAY | VT_VARIANT, provider.RequestType);
  EXPECT_EQ(1u, provider.RequestDimensions);
  EXPECT_EQ(0, provider.RequestLowerBound);
  EXPECT_EQ((std::vector<std::string>{"\\LogicalDisk(C:)\\% Free Space", "",
                                      "\\Memory\\Available MBytes"}),
            provider.RequestPaths);
  EXPECT_EQ(std::vector<VARTYPE>(3, VT_BSTR), provider.RequestElementTypes);
  EXPECT_EQ((std::vector<DWORD>{20, 20, 20}), sleeps);
  EXPECT_EQ((std::vector<LoggedLine>{kQueryLine, kQueryLine}), log);
  EXPECT_EQ(3, ProviderRounds(result));
  ReleaseProviderResult(&result);
}

TEST_F(ProviderTest, EmptyListGivesAnEmptyRequest) {
  Load();
  provider.Answer(TextList({}), TextList({}));
  ProviderResult result;
  ASSERT_TRUE(QueryPerformanceData(&result));
  EXPECT_EQ(1, provider.Calls);
  EXPECT_TRUE(provider.RequestPaths.empty());
  EXPECT_EQ(0, ProviderRounds(result));
  EXPECT_TRUE(sleeps.empty());
  ReleaseProviderResult(&result);
}

TEST_F(ProviderTest, NoAnswerAtAllFails) {
  Load();
  AddRecord("\\Memory\\Available MBytes");
  provider.FillsFourth = true;
  log.clear();
  ProviderResult result;
  EXPECT_FALSE(QueryPerformanceData(&result));
  EXPECT_EQ(
      (std::vector<LoggedLine>{
          kQueryLine, kQueryLine, {"InitDLL", "ERROR", "", "Query dll", "No data retrieved"}}),
      log);
}

SAFEARRAY* WINAPI NoArray(VARTYPE, UINT, SAFEARRAYBOUND*) {
  return nullptr;
}

TEST_F(ProviderTest, RequestThatCannotBeMadeFailsWithoutACall) {
  Load();
  Platform.SafeArrayCreate = NoArray;
  log.clear();
  ProviderResult result;
  EXPECT_FALSE(QueryPerformanceData(&result));
  EXPECT_EQ(0, provider.Calls);
  EXPECT_TRUE(log.empty());
}

TEST_F(ProviderTest, OnlyAValueListIsAnAnswerWithNoRounds) {
  Load();
  AddRecord("\\Memory\\Available MBytes");
  VARIANT none;
  VariantInit(&none);
  provider.Answer(TextList({"512"}), none);
  log.clear();
  ProviderResult result;
  ASSERT_TRUE(QueryPerformanceData(&result));
  EXPECT_EQ(0, ProviderRounds(result));
  EXPECT_EQ((std::vector<LoggedLine>{kQueryLine, kQueryLine}), log);
  ReleaseProviderResult(&result);
}

TEST_F(ProviderTest, StatusListsOfTheWrongShapeGiveNoRounds) {
  Load();
  AddRecord("\\Memory\\Available MBytes");
  VARIANT text;
  VariantInit(&text);
  text.vt = VT_BSTR;
  text.bstrVal = SysAllocString(L"0");
  VARIANT number;
  VariantInit(&number);
  number.vt = VT_I4;
  number.lVal = 0;
  struct Case {
    const char* name;
    VARIANT statuses;
  } cases[] = {
      {"a text, not an array", text},
      {"a number", number},
      {"two dimensions", ShapedTextList({"0"}, 0, 2)},
      {"lower bound 1", ShapedTextList({"0"}, 1, 1)},
  };
  for (Case& c : cases) {
    provider.Answer(TextList({"512"}), c.statuses);
    ProviderResult result;
    ASSERT_TRUE(QueryPerformanceData(&result)) << c.name;
    EXPECT_EQ(0, ProviderRounds(result)) << c.name;
    char out[kTextSize];
    EXPECT_FALSE(ReadProviderStatus(result, 0, out, sizeof out)) << c.name;
    ReleaseProviderResult(&result);
  }
}

TEST_F(ProviderTest, ElementsAreReadOnlyWhereTheyAreTexts) {
  Load();
  AddRecord("a");
  AddRecord("b");
  AddRecord("c");
  provider.Answer(IntegerList({1, 2}), TextList({"0", "0", "-2147481647"}));
  ProviderResult result;
  ASSERT_TRUE(QueryPerformanceData(&result));
  ASSERT_EQ(3, ProviderRounds(result));
  char out[kTextSize];
  ASSERT_TRUE(ReadProviderStatus(result, 2, out, sizeof out));
  EXPECT_STREQ("-2147481647", out);
  EXPECT_FALSE(ReadProviderValue(result, 0, out, sizeof out));  // an integer, not a text
  EXPECT_FALSE(ReadProviderValue(result, 2, out, sizeof out));  // past the end of the list
  EXPECT_FALSE(ReadProviderStatus(result, 3, out, sizeof out));
  EXPECT_FALSE(ReadProviderStatus(result, -1, out, sizeof out));
  ReleaseProviderResult(&result);

  provider.Answer(TextList({"57.9"}), IntegerList({0}));
  ASSERT_TRUE(QueryPerformanceData(&result));
  EXPECT_EQ(1, ProviderRounds(result));
  EXPECT_FALSE(ReadProviderStatus(result, 0, out, sizeof out));
  EXPECT_TRUE(ReadProviderValue(result, 0, out, sizeof out));
  EXPECT_STREQ("57.9", out);
  ReleaseProviderResult(&result);
}

}  // namespace
