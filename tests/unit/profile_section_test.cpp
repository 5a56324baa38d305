// Reading a profile file a section at a time gives every value exactly as the per-key read
// does, for plain sections and for the forms it leaves to the per-key read, with one call
// per plain section.
#include <gtest/gtest.h>

#include <string>

#include "run/bounded_text.h"
#include "run/system_ops.h"
#include "support/platform_fakes.h"
#include "support/test_folders.h"
#include "template/profile_section.h"

namespace {

const std::string kTemplate =
    "[DCM]\r\nTid=17\r\nTver=3\r\nCount=2\r\n"
    "[Plain]\r\nId=3\r\nscriptid=501\r\nID=9\r\nEmpty=\r\nEq=a=b\r\nDrv1=D\r\n"
    "[Spaced]\r\nId = 3\r\n  scriptid=  501  \r\nDrv1=D\r\n"
    "[Quoted]\r\nId=\"3\"\r\nCond1='<'\r\nscriptid=\"5\r\n"
    "[Comment]\r\n;Id=5\r\nId=4 ; four\r\nscriptid=6\r\n"
    "[NoEquals]\r\nId\r\nscriptid=7\r\n"
    "[Long]\r\nValue=" +
    std::string(300, 'v') +
    "\r\nId=2\r\n"
    "[Tabbed]\r\nId=\t3\r\nscriptid=8\r\n"
    "[NonAscii]\r\nId=\xe9t\xe9\r\nName\xe9=1\r\nscriptid=9\r\n"
    "[plain]\r\nId=99\r\nOnlyHere=1\r\n"
    "[Empty]\r\n";

TEST(ProfileSection, EveryValueIsThePerKeyReadsValue) {
  TempFolder folder;
  folder.WriteFile("t.ini", kTemplate);
  const std::string file = folder.Join("t.ini");
  const char* sections[] = {"DCM",     "Plain",    "PLAIN",  "Spaced", "Quoted",
                            "Comment", "NoEquals", "Long",   "Tabbed", "NonAscii",
                            "Empty",   "Absent",   " Plain", "Plain ", ""};
  const char* keys[] = {"Tid",    "Count",    "Id",   "ID",    "id",    "scriptid",
                        "Empty",  "Eq",       "Drv1", "Cond1", "Value", "OnlyHere",
                        "Absent", "Name\xe9", " Id",  "Id ",   "",      "Eq=a"};
  ForgetProfileSection();
  int compared = 0;
  for (const char* section : sections) {
    for (const char* key : keys) {
      char expected[kTextSize], actual[kTextSize];
      CopyText(actual, "stale");
      ReadIniValue(section, key, file.c_str(), expected);
      ReadProfileSectionValue(file.c_str(), section, key, actual);
      EXPECT_STREQ(expected, actual) << "[" << section << "] " << key;
      compared += expected[0] != '\0';
    }
  }
  EXPECT_GT(compared, 30);  // most pairs have a value to compare
}

int stringReads, sectionReads;

DWORD WINAPI CountStringRead(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR out, DWORD size,
                             LPCSTR file) {
  ++stringReads;
  return ::GetPrivateProfileStringA(section, key, fallback, out, size, file);
}

DWORD WINAPI CountSectionRead(LPCSTR section, LPSTR out, DWORD size, LPCSTR file) {
  ++sectionReads;
  return ::GetPrivateProfileSectionA(section, out, size, file);
}

TEST(ProfileSection, OneCallPerPlainSectionAndOnePerKeyOtherwise) {
  TempFolder folder;
  folder.WriteFile("t.ini", kTemplate);
  const std::string file = folder.Join("t.ini");
  PlatformGuard guard;
  Platform.GetPrivateProfileStringA = CountStringRead;
  Platform.GetPrivateProfileSectionA = CountSectionRead;
  struct Case {
    const char* section;
    int sectionReads;
    int stringReads;
  } cases[] = {
      {"Plain", 1, 0}, {"Quoted", 1, 3}, {"Long", 1, 3}, {"NonAscii", 1, 3}, {"Absent", 1, 0}};
  for (const Case& c : cases) {
    ForgetProfileSection();
    stringReads = sectionReads = 0;
    char out[kTextSize];
    for (const char* key : {"Id", "scriptid", "Drv1"})
      ReadProfileSectionValue(file.c_str(), c.section, key, out);
    EXPECT_EQ(c.sectionReads, sectionReads) << c.section;
    EXPECT_EQ(c.stringReads, stringReads) << c.section;
  }
}

TEST(ProfileSection, AnotherSectionOrFileIsReadAfreshAndForgettingRereads) {
  TempFolder folder;
  folder.WriteFile("a.ini", "[S]\r\nId=1\r\n[T]\r\nId=2\r\n");
  folder.WriteFile("b.ini", "[S]\r\nId=3\r\n");
  const std::string a = folder.Join("a.ini"), b = folder.Join("b.ini");
  ForgetProfileSection();
  char out[kTextSize];
  ReadProfileSectionValue(a.c_str(), "S", "Id", out);
  EXPECT_STREQ("1", out);
  ReadProfileSectionValue(a.c_str(), "T", "Id", out);
  EXPECT_STREQ("2", out);
  ReadProfileSectionValue(b.c_str(), "S", "Id", out);
  EXPECT_STREQ("3", out);
  folder.WriteFile("b.ini", "[S]\r\nId=4\r\n");
  ReadProfileSectionValue(b.c_str(), "S", "Id", out);
  EXPECT_STREQ("3", out);  // kept while the same section is read
  ForgetProfileSection();
  ReadProfileSectionValue(b.c_str(), "S", "Id", out);
  EXPECT_STREQ("4", out);
}

}  // namespace
