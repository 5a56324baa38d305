// WriteAppLog against a recording logger: the header once per new file, the exact line,
// the folder made even without a logger; and CreateFolderPath over missing parents.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "log/app_log.h"
#include "log/log_library.h"
#include "run/agent_state.h"
#include "run/system_ops.h"
#include "support/platform_fakes.h"
#include "support/test_folders.h"

namespace {

struct HandOver {
  std::string file, data, marker;
  int32_t length, mode, statusOnEntry;
};
std::vector<HandOver> handOvers;

// Records each hand-over and appends the data to the file, as the real logger does.
int __stdcall RecordingLogger(const char* file, const char* data, int32_t length,
                              const char* marker, int32_t mode, int32_t* status) {
  handOvers.push_back({file, data, marker ? marker : "<null>", length, mode, *status});
  std::ofstream(file, std::ios::binary | std::ios::app).write(data, length);
  *status = 99;  // the agent never reads it back
  return 1;
}

class AppLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetAgentState();
    CopyText(InstallPath, (folder.Path() + "\\").c_str());
    handOvers.clear();
    FixLocalTime(MakeTime(2012, 3, 5, 13, 0, 0));
  }
  void TearDown() override { LogDataToDisk = nullptr; }
  std::string LogFile() const {
    return folder.Path() + "\\\\ApplicationLog\\Quintrel\\Quintrel.Log";
  }
  TempFolder folder;
  PlatformGuard guard;
};

TEST_F(AppLogTest, FirstLineOfANewFileComesAfterTheHeader) {
  LogDataToDisk = RecordingLogger;
  WriteAppLog("----", "----", "Application Started", "----", "----");
  WriteAppLog("WM", "Error", "", "korvpath", "Missing REG ID");

  ASSERT_EQ(3u, handOvers.size());
  const std::string header = "#Fields:\tdtime\tSession User Name\tmodule\ttype\tval1\tval2\tval3\n";
  EXPECT_EQ(header, handOvers[0].data);
  EXPECT_EQ("Header\r\n", handOvers[0].marker);
  EXPECT_EQ(static_cast<int32_t>(header.size()), handOvers[0].length);
  EXPECT_EQ("05/03/2012 01:00:00 PM\t130000 ----\t----\tApplication Started\t----\t----\n",
            handOvers[1].data);
  EXPECT_EQ("05/03/2012 01:00:00 PM\t130000 WM\tERROR\t\tkorvpath\tMissing REG ID\n",
            handOvers[2].data);
  for (const HandOver& h : handOvers) {
    EXPECT_EQ(LogFile(), h.file);
    EXPECT_EQ(2, h.mode);
    EXPECT_EQ(static_cast<int32_t>(h.data.size()), h.length);
  }
  EXPECT_EQ("<null>", handOvers[1].marker);
  EXPECT_EQ(0, handOvers[0].statusOnEntry);
}

TEST_F(AppLogTest, TwelveHourFieldAgainstTwentyFourHourDigits) {
  LogDataToDisk = RecordingLogger;
  FixLocalTime(MakeTime(2012, 3, 5, 0, 5, 9));
  WriteAppLog("InitDLL", "Information", "a", "b", "c");
  ASSERT_FALSE(handOvers.empty());
  EXPECT_EQ("05/03/2012 12:05:09 AM\t000509 InitDLL\tInfo\ta\tb\tc\n", handOvers.back().data);
}

TEST_F(AppLogTest, WithoutLoggerNothingIsHandedOverButTheFolderIsMade) {
  WriteAppLog("WM", "Error", "", "", "x");
  EXPECT_TRUE(handOvers.empty());
  EXPECT_TRUE(FileExists((folder.Path() + "\\ApplicationLog\\Quintrel").c_str()));
  EXPECT_FALSE(FileExists(LogFile().c_str()));
}

TEST_F(AppLogTest, AfterUnloadingTheLoggerNothingIsHandedOver) {
  LogDataToDisk = RecordingLogger;
  WriteAppLog("----", "----", "Application Ended", "----", "----");
  size_t before = handOvers.size();
  HMODULE none = nullptr;
  UnloadLogLibrary(&none);
  WriteAppLog("WM", "Info", "", "", "late");
  EXPECT_EQ(before, handOvers.size());
}

TEST(CreateFolderPath, MakesEveryMissingParentInOrderAndRestoresTheText) {
  TempFolder folder;
  PlatformGuard guard;
  std::vector<std::string>& created = RecordCreatedFolders();
  std::string target = folder.Path() + "\\A\\B\\C";
  std::vector<char> text(target.begin(), target.end());
  text.push_back('\0');
  CreateFolderPath(text.data());

  EXPECT_EQ(target, text.data());
  EXPECT_TRUE(FileExists(target.c_str()));
  ASSERT_GE(created.size(), 4u);
  EXPECT_EQ("C:", created.front().substr(0, 2));
  std::vector<std::string> last(created.end() - 3, created.end());
  EXPECT_EQ((std::vector<std::string>{folder.Path() + "\\A", folder.Path() + "\\A\\B", target}),
            last);
}

TEST(CreateFolderPath, ExistingFoldersAreHarmless) {
  TempFolder folder;
  std::string target = folder.Path() + "\\\\X";  // a doubled separator, as the agent forms
  std::vector<char> text(target.begin(), target.end());
  text.push_back('\0');
  CreateFolderPath(text.data());
  CreateFolderPath(text.data());
  EXPECT_TRUE(FileExists((folder.Path() + "\\X").c_str()));
}

}  // namespace
