// Registry reads of the agent: the 256-byte limit whatever the value's type, the WOW64 key
// of the installation path, and the executable's folder.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "run/agent_state.h"
#include "run/system_ops.h"
#include "support/platform_fakes.h"
#include "support/test_folders.h"

namespace {

const char kKey[] = "SOFTWARE\\VUREZU";
const char kWowKey[] = "SOFTWARE\\WOW6432NODE\\VUREZU";

bool RunningUnderWow64() {
  const char* arch = getenv("QUINTREL_WINE_ARCH");
  return arch != nullptr && strcmp(arch, "win64") == 0;
}

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetAgentState(); }
  // Reads name from the agent key; returns the text, or "<untouched>" when nothing was read.
  std::string Read(const char* name, int expectedResult) {
    char out[kTextSize];
    CopyText(out, "<untouched>");
    EXPECT_EQ(expectedResult, ReadAgentRegistryValue(kKey, name, out)) << name;
    return out;
  }
  PrivateLocalMachine hklm;
  PlatformGuard guard;
};

TEST_F(RegistryTest, TextsUpTo255CharactersAreReadWhole) {
  hklm.SetString(kKey, "Empty", "");
  hklm.SetString(kKey, "Long255", std::string(255, 'r'));
  hklm.SetString(kKey, "Long256", std::string(256, 'r'));
  EXPECT_EQ("", Read("Empty", 1));
  EXPECT_EQ(std::string(255, 'r'), Read("Long255", 1));
  EXPECT_EQ("<untouched>", Read("Long256", 0));
  EXPECT_EQ("<untouched>", Read("Absent", 0));
}

TEST_F(RegistryTest, MissingKeyLeavesOutUntouched) {
  char out[kTextSize] = "kept";
  EXPECT_EQ(0, ReadAgentRegistryValue("SOFTWARE\\NoSuchKey", "REGID", out));
  EXPECT_STREQ("kept", out);
}

TEST_F(RegistryTest, OtherTypesAreReadAsTextWithoutPassingTheBuffer) {
  const char threeBytes[] = {'a', 'b', 'c'};
  hklm.SetValue(kKey, "BinaryNoTerminator", REG_BINARY, threeBytes, sizeof threeBytes);
  std::string full(256, 'b');
  hklm.SetValue(kKey, "Binary256", REG_BINARY, full.data(), 256);
  DWORD word = 0x00636261;  // "abc" in little-endian order, then a zero byte
  hklm.SetValue(kKey, "Dword", REG_DWORD, &word, sizeof word);
  const char multi[] = "first\0second\0";
  hklm.SetValue(kKey, "Multi", REG_MULTI_SZ, multi, sizeof multi);
  EXPECT_EQ("abc", Read("BinaryNoTerminator", 1));
  EXPECT_EQ("<untouched>", Read("Binary256", 0));
  EXPECT_EQ("abc", Read("Dword", 1));
  EXPECT_EQ("first", Read("Multi", 1));
}

TEST_F(RegistryTest, InstallPathComesFromTheKeyOfTheProcessKind) {
  hklm.SetString(kKey, "InstallationPath", "C:\\Plain\\");
  hklm.SetString(kWowKey, "InstallationPath", "C:\\Wow\\");
  ASSERT_EQ(1, LookupInstallPath());
  // Under WOW64 the system itself redirects SOFTWARE\VUREZU to the WOW6432Node key.
  EXPECT_STREQ(RunningUnderWow64() ? "C:\\Wow\\" : "C:\\Plain\\", InstallPath);
  EXPECT_NE('\0', ModuleFolder[0]);
}

BOOL WINAPI ClaimsWow64(HANDLE, PBOOL wow64) {
  *wow64 = TRUE;
  return TRUE;
}
bool offerIsWow64Process;
FARPROC WINAPI ChosenIsWow64Process(HMODULE module, LPCSTR name) {
  if (strcmp(name, "IsWow64Process") != 0) return GetProcAddress(module, name);
  return offerIsWow64Process ? reinterpret_cast<FARPROC>(reinterpret_cast<void*>(ClaimsWow64))
                             : nullptr;
}

// Only a process outside WOW64 sees the two keys apart: there the lookup must choose.
TEST_F(RegistryTest, KeyFollowsWhatIsWow64ProcessSays) {
  if (RunningUnderWow64()) GTEST_SKIP() << "the system merges both keys under WOW64";
  Platform.GetProcAddress = ChosenIsWow64Process;
  hklm.SetString(kKey, "InstallationPath", "C:\\Plain\\");
  hklm.SetString(kWowKey, "InstallationPath", "C:\\Wow\\");
  offerIsWow64Process = true;
  ASSERT_EQ(1, LookupInstallPath());
  EXPECT_STREQ("C:\\Wow\\", InstallPath);
  offerIsWow64Process = false;  // a system without the function: not WOW64
  ASSERT_EQ(1, LookupInstallPath());
  EXPECT_STREQ("C:\\Plain\\", InstallPath);
}

TEST_F(RegistryTest, MissingInstallPathLeavesBothFoldersEmpty) {
  hklm.SetString(kKey, "REGID", "12345");
  EXPECT_EQ(0, LookupInstallPath());
  EXPECT_STREQ("", InstallPath);
  EXPECT_STREQ("", ModuleFolder);
}

TEST_F(RegistryTest, InstallPathIsKeptExactlyAsStored) {
  hklm.SetString(RunningUnderWow64() ? kWowKey : kKey, "InstallationPath", "C:\\NoSlash");
  ASSERT_EQ(1, LookupInstallPath());
  EXPECT_STREQ("C:\\NoSlash", InstallPath);
}

TEST(ModuleFolder, IsTheExecutableFolderWithoutTrailingBackslash) {
  ResetAgentState();
  ASSERT_EQ(1, LookupModuleFolder());
  std::string folder = ModuleFolder;
  ASSERT_GT(folder.size(), 11u);
  EXPECT_EQ("\\tests\\unit", folder.substr(folder.size() - 11));
}

}  // namespace
