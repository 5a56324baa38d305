// The application log line: field layout, TABs, a single line feed, the type conversion,
// and the cut of an over-long line that keeps its line feed.
#include <gtest/gtest.h>

#include <string>

#include "log/log_line.h"

namespace {

std::string Line(const LogMoment& moment, const char* clock, const char* module, const char* type,
                 const char* v1, const char* v2, const char* v3) {
  char out[kLogLineSize];
  size_t length = ComposeLogLine(out, sizeof out, moment, clock, module, type, v1, v2, v3);
  EXPECT_EQ(std::string(out).size(), length);
  return out;
}

TEST(LogLine, StartLineOfAPassAtOnePm) {
  LogMoment moment = {2012, 3, 5, 13, 0, 0};
  EXPECT_EQ("05/03/2012 01:00:00 PM\t130000 ----\t----\tApplication Started\t----\t----\n",
            Line(moment, "01:00:00 PM", "----", "----", "Application Started", "----", "----"));
}

TEST(LogLine, EmptyValuesKeepAllSixFields) {
  LogMoment moment = {2012, 3, 5, 0, 5, 9};
  EXPECT_EQ("05/03/2012 12:05:09 AM\t000509 WM\tERROR\t\t\t\n",
            Line(moment, "12:05:09 AM", "WM", "Error", "", "", ""));
}

TEST(LogLine, TypeConversion) {
  struct Case {
    const char* type;
    const char* written;
  } cases[] = {
      {"Information", "Info"},
      {"iNfOrMaTiOn", "Info"},
      {"Info", "INFO"},
      {"Error", "ERROR"},
      {"error", "ERROR"},
      {"----", "----"},
      {"", ""},
      {"Informations", "INFORMATIONS"},
  };
  for (const auto& c : cases) {
    char out[kLogTypeSize];
    ConvertLogType(c.type, out, sizeof out);
    EXPECT_STREQ(c.written, out) << c.type;
  }
}

TEST(LogLine, OverlongTypeIsCutToItsWorkingBuffer) {
  std::string type(100, 'e');
  char out[kLogTypeSize];
  ConvertLogType(type.c_str(), out, sizeof out);
  EXPECT_EQ(std::string(kLogTypeSize - 1, 'E'), out);
}

TEST(LogLine, OverlongLineIsCutAndKeepsItsLineFeed) {
  LogMoment moment = {2026, 12, 11, 23, 59, 59};
  std::string document(6000, 'x');
  std::string line =
      Line(moment, "11:59:59 PM", "directWeb_Post", "Info", "web Post", document.c_str(), " ");
  EXPECT_EQ(kLogLineSize - 1, line.size());
  EXPECT_EQ('\n', line.back());
  EXPECT_EQ(line.size() - 1, line.find('\n'));
  EXPECT_EQ(0u, line.find("11/12/2026 11:59:59 PM\t235959 directWeb_Post\tINFO\tweb Post\txxx"));
}

TEST(LogLine, SmallBuffersStayTerminated) {
  LogMoment moment = {2026, 1, 2, 3, 4, 5};
  char out[8];
  size_t length = ComposeLogLine(out, sizeof out, moment, "03:04:05 AM", "m", "t", "", "", "");
  EXPECT_EQ(7u, length);
  EXPECT_STREQ("02/01/\n", out);
}

TEST(LogLine, FolderAndFileNames) {
  char folder[kLogPathSize];
  char file[kLogPathSize];
  ASSERT_TRUE(ComposeLogFolder(folder, sizeof folder, "C:\\Suite\\"));
  EXPECT_STREQ("C:\\Suite\\\\ApplicationLog\\Quintrel", folder);
  ASSERT_TRUE(ComposeLogFileName(file, sizeof file, folder));
  EXPECT_STREQ("C:\\Suite\\\\ApplicationLog\\Quintrel\\Quintrel.Log", file);
}

}  // namespace
