// Profile reads, file presence, the system drive and the list of logical drives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run/bounded_text.h"
#include "run/system_ops.h"
#include "support/platform_fakes.h"
#include "support/test_folders.h"

namespace {

TEST(ReadIniValue, MissingAndEmptyGiveEmptyAndLongValuesAreCut) {
  TempFolder folder;
  folder.WriteFile("t.ini",
                   "[S]\r\nEmpty=\r\nKey=value 1\r\nLong=" + std::string(300, 'v') + "\r\n");
  const std::string file = folder.Join("t.ini");
  struct Case {
    const char* section;
    const char* key;
    std::string value;
  } cases[] = {
      {"S", "Key", "value 1"}, {"s", "KEY", "value 1"}, {"S", "Empty", ""},
      {"S", "Absent", ""},     {"Absent", "Key", ""},   {"S", "Long", std::string(254, 'v')},
  };
  for (const auto& c : cases) {
    char out[kTextSize];
    CopyText(out, "stale");
    ReadIniValue(c.section, c.key, file.c_str(), out);
    EXPECT_EQ(c.value, out) << c.section << "/" << c.key;
  }
  char out[kTextSize] = "stale";
  ReadIniValue("S", "Key", folder.Join("absent.ini").c_str(), out);
  EXPECT_STREQ("", out);
}

TEST(FileExists, FilesAndFoldersCount) {
  TempFolder folder;
  folder.WriteFile("present.txt", "x");
  folder.WriteFile("hidden.txt", "x");
  SetFileAttributesA(folder.Join("hidden.txt").c_str(),
                     FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
  CreateDirectoryA(folder.Join("sub").c_str(), nullptr);
  struct Case {
    std::string path;
    bool exists;
  } cases[] = {
      {folder.Join("present.txt"), true},
      {folder.Path(), true},
      {folder.Join("sub"), true},
      {folder.Join("hidden.txt"), true},
      // An installation path ends with a backslash and the log folder adds one more.
      {folder.Path() + "\\\\sub", true},
      {folder.Join("PRESENT.TXT"), true},
      {folder.Join("absent.txt"), false},
      {folder.Join("absent\\deeper.txt"), false},
      {folder.Join("present.txt\\deeper.txt"), false},
      {folder.Join("pres*.txt"), false},  // a pattern names no file
      {"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.exists, FileExists(c.path.c_str())) << c.path;
  }
  SetFileAttributesA(folder.Join("hidden.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(GetSystemDriveLetter, WritesOnlyTheLetter) {
  char out[4] = {'\0', '#', '#', '#'};
  EXPECT_TRUE(GetSystemDriveLetter(out));
  EXPECT_EQ('C', out[0]);  // the Wine prefixes keep Windows on C:
  EXPECT_EQ('#', out[1]);
}

DWORD drivesMask;
DWORD WINAPI FakeLogicalDrives() {
  return drivesMask;
}

TEST(ListLogicalDrives, OneLetterPerSetBitInOrder) {
  PlatformGuard guard;
  Platform.GetLogicalDrives = FakeLogicalDrives;
  struct Case {
    DWORD mask;
    std::string letters;
  } cases[] = {
      {0, ""},
      {(1u << 0) | (1u << 2) | (1u << 3), "ACD"},
      {(1u << 2) | (1u << 25), "CZ"},
      {0x03FFFFFF, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
      {0xFFFFFFFF, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},  // bits past Z name no drive
  };
  for (const auto& c : cases) {
    drivesMask = c.mask;
    std::vector<char> drives;
    EXPECT_TRUE(ListLogicalDrives(drives));
    EXPECT_EQ(c.letters, std::string(drives.begin(), drives.end())) << std::hex << c.mask;
  }
}

}  // namespace
