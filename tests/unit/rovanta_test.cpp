// The circular logger Rovanta.dll under Wine: the header, the 4 MiB cap, bad arguments and
// writers in several processes.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "log_rotation.h"
#include "support/test_folders.h"

namespace {

typedef int(__stdcall* LogDataToDiskFn)(const char*, const char*, int32_t, const char*, int32_t,
                                        int32_t*);

const std::string kDll = QUINTREL_DIST_WINDOWS "\\Rovanta.dll";

class RovantaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library = LoadLibraryA(kDll.c_str());
    ASSERT_NE(nullptr, library) << kDll;
    write = reinterpret_cast<LogDataToDiskFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "LogDataToDisk")));
    ASSERT_NE(nullptr, write);
    file = folder.Join("app.Log");
  }
  void TearDown() override { FreeLibrary(library); }
  int Put(const std::string& data, const char* marker = nullptr, int32_t* status = nullptr) {
    int32_t ignored;
    return write(file.c_str(), data.c_str(), static_cast<int32_t>(data.size()), marker, 2,
                 status ? status : &ignored);
  }
  TempFolder folder;
  HMODULE library = nullptr;
  LogDataToDiskFn write = nullptr;
  std::string file;
};

TEST_F(RovantaTest, HeaderCreatesTheFileOnceAndLinesFollowWhole) {
  int32_t status = -1;
  EXPECT_EQ(1, Put("#Fields:\tx\n", "Header\r\n", &status));
  EXPECT_EQ(0, status);
  EXPECT_EQ(1, Put("first\n"));
  EXPECT_EQ(1, Put("#Fields:\tx\n", "Header\r\n"));  // a racing second header is dropped
  EXPECT_EQ(1, Put("second\n"));
  EXPECT_EQ("#Fields:\tx\nfirst\nsecond\n", folder.ReadFile("app.Log"));
}

TEST_F(RovantaTest, LengthNeverReadsPastTheText) {
  const char data[] = "short\n";
  int32_t status;
  EXPECT_EQ(1, write(file.c_str(), data, 1000, nullptr, 2, &status));
  EXPECT_EQ("short\n", folder.ReadFile("app.Log"));
}

TEST_F(RovantaTest, BadArgumentsAndUnwritablePlacesFailCleanly) {
  int32_t status = 0;
  EXPECT_EQ(0, write(nullptr, "x\n", 2, nullptr, 2, &status));
  EXPECT_NE(0, status);
  EXPECT_EQ(0, write(file.c_str(), nullptr, 2, nullptr, 2, &status));
  EXPECT_EQ(0, write(file.c_str(), "x\n", -1, nullptr, 2, &status));
  EXPECT_EQ(0, write(file.c_str(), "x\n", 2, nullptr, 7, &status));
  EXPECT_EQ(1, write(file.c_str(), "x\n", 2, nullptr, 2, nullptr));  // status is optional
  std::string nowhere = folder.Join("missing\\folder\\app.Log");
  EXPECT_EQ(0, write(nowhere.c_str(), "x\n", 2, nullptr, 2, &status));
  EXPECT_EQ(static_cast<int32_t>(ERROR_PATH_NOT_FOUND), status);
  std::string huge(kLargestText + 1, 'h');
  EXPECT_EQ(0, Put(huge, nullptr, &status));
  EXPECT_EQ("x\n", folder.ReadFile("app.Log"));
}

uint64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

TEST_F(RovantaTest, CapKeepsHeaderFirstAndTheNewestLinesInOrder) {
  const std::string header = "#Fields:\tdtime\n";
  ASSERT_EQ(1, Put(header, "Header\r\n"));
  const std::string padding(1000, '.');
  const int lines = 6000;  // about 6 MB through a 4 MiB cap: at least one cut
  uint64_t largest = 0;
  for (int i = 0; i < lines; ++i) {
    ASSERT_EQ(1, Put("line " + std::to_string(i) + " " + padding + "\n")) << i;
    if (i % 50 == 0 || i == lines - 1) largest = std::max(largest, FileSize(file));
  }
  EXPECT_LE(largest, kLogFileCap);
  std::string content = folder.ReadFile("app.Log");
  EXPECT_LE(content.size(), kLogFileCap);
  ASSERT_EQ(header, content.substr(0, header.size()));
  std::istringstream rest(content.substr(header.size()));
  std::string line;
  int expected = -1;
  int count = 0;
  while (std::getline(rest, line)) {
    int number = std::stoi(line.substr(5));
    if (expected >= 0) {
      ASSERT_EQ(expected, number) << "a gap or a reordering";
    }
    ASSERT_EQ("line " + std::to_string(number) + " " + padding, line);
    expected = number + 1;
    ++count;
  }
  EXPECT_EQ(lines, expected) << "the newest line is last";
  EXPECT_GT(count, 2000);  // most of three quarters of the cap stays
}

std::string FolderOfThisProgram() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string text = path;
  return text.substr(0, text.rfind('\\'));
}

TEST_F(RovantaTest, WritersInSeveralProcessesLoseAndTearNothing) {
  const int writers = 3;
  const int perWriter = 300;
  std::vector<PROCESS_INFORMATION> processes;
  for (int w = 0; w < writers; ++w) {
    std::string command = "\"" + FolderOfThisProgram() + "\\rovanta_writer.exe\" \"" + kDll +
                          "\" \"" + file + "\" " + std::to_string(w) + " " +
                          std::to_string(perWriter);
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
    processes.push_back(process);
  }
  for (PROCESS_INFORMATION& process : processes) {
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 120000));
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(0u, code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  std::istringstream content(folder.ReadFile("app.Log"));
  std::map<int, int> nextLine;
  std::string line;
  const std::string padding(500, 'p');
  int total = 0;
  while (std::getline(content, line)) {
    int writer = -1, number = -1;
    ASSERT_EQ(2, sscanf(line.c_str(), "writer=%d line=%d", &writer, &number)) << line;
    ASSERT_EQ("writer=" + std::to_string(writer) + " line=" + std::to_string(number) + " " +
                  padding + " end",
              line);
    EXPECT_EQ(nextLine[writer], number) << "writer " << writer;
    nextLine[writer] = number + 1;
    ++total;
  }
  EXPECT_EQ(writers * perWriter, total);
}

}  // namespace
