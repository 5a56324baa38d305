// The real provider tovradc.dll under Wine, reading the counters of the machine it runs on.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleauto.h>

#include <stdlib.h>

#include <string>
#include <vector>

namespace {

typedef int(__stdcall* QueryFn)(VARIANT*, VARIANT*, VARIANT*, VARIANT*);

class TovradcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library = LoadLibraryA(QUINTREL_DIST_WINDOWS "\\tovradc.dll");
    ASSERT_NE(nullptr, library);
    query = reinterpret_cast<QueryFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "arr_ovelperfgetperformancedata")));
    ASSERT_NE(nullptr, query);
  }
  void TearDown() override { FreeLibrary(library); }

  struct Answer {
    std::vector<std::string> statuses, values;
    VARTYPE statusType, valueType;
  };
  static std::vector<std::string> Texts(const VARIANT& list) {
    std::vector<std::string> texts;
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(list.parray, 1, &lower);
    SafeArrayGetUBound(list.parray, 1, &upper);
    EXPECT_EQ(0, lower);
    for (LONG i = lower; i <= upper; ++i) {
      VARIANT element;
      VariantInit(&element);
      SafeArrayGetElement(list.parray, &i, &element);
      EXPECT_EQ(VT_BSTR, element.vt);
      texts.push_back(
          std::string(element.bstrVal, element.bstrVal + SysStringLen(element.bstrVal)));
      VariantClear(&element);
    }
    return texts;
  }
  Answer Ask(const std::vector<std::wstring>& paths) {
    SAFEARRAYBOUND bound = {static_cast<ULONG>(paths.size()), 0};
    VARIANT request, values, statuses, fourth;
    VariantInit(&request);
    VariantInit(&values);
    VariantInit(&statuses);
    VariantInit(&fourth);
    request.vt = VT_ARRAY | VT_VARIANT;
    request.parray = SafeArrayCreate(VT_VARIANT, 1, &bound);
    for (LONG i = 0; i < static_cast<LONG>(paths.size()); ++i) {
      VARIANT path;
      path.vt = VT_BSTR;
      path.bstrVal = SysAllocString(paths[static_cast<size_t>(i)].c_str());
      SafeArrayPutElement(request.parray, &i, &path);
      VariantClear(&path);
    }
    query(&request, &values, &statuses, &fourth);
    Answer answer = {Texts(statuses), Texts(values), statuses.vt, values.vt};
    EXPECT_EQ(VT_EMPTY, fourth.vt);
    VariantClear(&request);
    VariantClear(&values);
    VariantClear(&statuses);
    return answer;
  }

  HMODULE library = nullptr;
  QueryFn query = nullptr;
};

TEST_F(TovradcTest, ReadsTheFourCountersOfThisMachine) {
  Answer a = Ask({L"\\LogicalDisk(C:)\\% Free Space", L"\\logicaldisk(c:)\\Free Megabytes",
                  L"\\Memory\\Available MBytes", L"\\Processor(_total)\\% Processor Time"});
  ASSERT_EQ((std::vector<std::string>{"0", "0", "0", "0"}), a.statuses);
  ASSERT_EQ(4u, a.values.size());
  for (const std::string& value : a.values)
    EXPECT_EQ(std::string::npos, value.find(','));
  const double percent = atof(a.values[0].c_str());
  const double megabytes = atof(a.values[1].c_str());
  EXPECT_GE(percent, 0.0);
  EXPECT_LE(percent, 100.0);
  ULARGE_INTEGER available, total, free;
  ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", &available, &total, &free));
  const double totalMegabytes = static_cast<double>(total.QuadPart) / 1048576.0;
  EXPECT_NEAR(percent, megabytes * 100.0 / totalMegabytes, 1.0);
  EXPECT_GT(atof(a.values[2].c_str()), 0.0);
  const double processor = atof(a.values[3].c_str());
  EXPECT_GE(processor, 0.0);
  EXPECT_LE(processor, 100.0);
}

TEST_F(TovradcTest, UnreadableCountersGiveANonZeroStatus) {
  Answer a = Ask(
      {L"", L"\\No Such Object\\No Counter", L"\\LogicalDisk(Q:)\\% Free Space", L"not a path"});
  ASSERT_EQ(4u, a.statuses.size());
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_NE("0", a.statuses[i]) << i;
    EXPECT_NE(0, atol(a.statuses[i].c_str())) << i;
    EXPECT_EQ("", a.values[i]) << i;
  }
  EXPECT_EQ(std::to_string(static_cast<LONG>(0xC0000BC0)), a.statuses[0]);  // bad counter name
}

TEST_F(TovradcTest, ProcessorIsSampledOncePerRequest) {
  const DWORD started = GetTickCount();
  Answer a =
      Ask({L"\\Processor(_total)\\% Processor Time", L"\\Memory\\Available MBytes",
           L"\\Processor(_Total)\\% Processor Time", L"\\Processor(_total)\\% Processor Time"});
  const DWORD elapsed = GetTickCount() - started;
  ASSERT_EQ(4u, a.values.size());
  EXPECT_EQ(a.values[0], a.values[2]);
  EXPECT_EQ(a.values[0], a.values[3]);
  EXPECT_GE(elapsed, 900u);   // one sample interval of a second ...
  EXPECT_LT(elapsed, 2500u);  // ... not one per record
}

TEST_F(TovradcTest, EmptyRequestGivesTwoEmptyLists) {
  Answer a = Ask({});
  EXPECT_EQ(VT_ARRAY | VT_VARIANT, a.statusType);
  EXPECT_EQ(VT_ARRAY | VT_VARIANT, a.valueType);
  EXPECT_TRUE(a.statuses.empty());
  EXPECT_TRUE(a.values.empty());
}

TEST_F(TovradcTest, RequestThatIsNoArrayLeavesTheListsEmpty) {
  VARIANT request, values, statuses, fourth;
  VariantInit(&request);
  VariantInit(&values);
  VariantInit(&statuses);
  VariantInit(&fourth);
  request.vt = VT_I4;
  EXPECT_EQ(0, query(&request, &values, &statuses, &fourth));
  EXPECT_EQ(VT_EMPTY, values.vt);
  EXPECT_EQ(VT_EMPTY, statuses.vt);
}

}  // namespace
