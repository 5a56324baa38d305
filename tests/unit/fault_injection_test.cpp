// Whole passes in this process with the companions stood in, once per fallible platform call:
// the n-th call of one entry fails, for every n the pass reaches. Every run must return 0,
// end its log with "Application Ended" and keep every document it built (sent, archived, or
// logged as not archivable).
#include <gtest/gtest.h>

#include <stdio.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "collect/evaluation.h"
#include "collect/provider.h"
#include "log/log_library.h"
#include "run/agent_state.h"
#include "run/run_sequence.h"
#include "support/fake_libraries.h"
#include "support/fake_provider.h"
#include "support/fake_web_post.h"
#include "support/log_capture.h"
#include "support/platform_fakes.h"
#include "support/test_folders.h"
#include "template/file_md5.h"
#include "template/monitor_function.h"

namespace {

// The entries of the platform table that can fail, and how each one fails.
enum Entry {
  kRegOpenKey,
  kRegQueryValue,
  kLoadLibrary,
  kGetProcAddress,
  kCreateMutex,
  kCreateDirectory,
  kProfileRead,
  kSectionRead,
  kProfileWrite,
  kCreateFile,
  kWriteFile,
  kAllocString,
  kArrayCreate,
  kArrayPut,
  kArrayCopy,
  kFileOpen,
  kFileRead,
  kShellExecute,
  kEntryCount
};
const char* const kEntryNames[kEntryCount] = {"RegOpenKeyExA",
                                              "RegQueryValueExA",
                                              "LoadLibraryA",
                                              "GetProcAddress",
                                              "CreateMutexA",
                                              "CreateDirectoryA",
                                              "GetPrivateProfileStringA",
                                              "GetPrivateProfileSectionA",
                                              "WritePrivateProfileStringA",
                                              "CreateFileA",
                                              "WriteFile",
                                              "SysAllocStringLen",
                                              "SafeArrayCreate",
                                              "SafeArrayPutElement",
                                              "SafeArrayCopy",
                                              "fopen",
                                              "fread",
                                              "ShellExecuteA"};

PlatformCalls inner;  // the entries the wrappers pass to: the system and the stand-ins
int calls[kEntryCount];
int failing = -1;  // the entry that fails, at call number failAt
int failAt = 0;

bool Fails(Entry entry) {
  return ++calls[entry] == failAt && failing == entry;
}

LONG WINAPI RegOpenKey(HKEY k, LPCSTR s, DWORD o, REGSAM a, PHKEY r) {
  return Fails(kRegOpenKey) ? ERROR_ACCESS_DENIED : inner.RegOpenKeyExA(k, s, o, a, r);
}
LONG WINAPI RegQueryValue(HKEY k, LPCSTR n, LPDWORD r, LPDWORD t, LPBYTE d, LPDWORD s) {
  return Fails(kRegQueryValue) ? ERROR_ACCESS_DENIED : inner.RegQueryValueExA(k, n, r, t, d, s);
}
HMODULE WINAPI LoadLib(LPCSTR path) {
  if (!Fails(kLoadLibrary)) return inner.LoadLibraryA(path);
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}
FARPROC WINAPI ProcAddress(HMODULE m, LPCSTR n) {
  return Fails(kGetProcAddress) ? nullptr : inner.GetProcAddress(m, n);
}
std::vector<HANDLE> mutexes;
HANDLE WINAPI Mutex(LPSECURITY_ATTRIBUTES, BOOL owner, LPCSTR) {
  if (Fails(kCreateMutex)) return nullptr;
  HANDLE mutex = CreateMutexA(nullptr, owner, nullptr);  // each pass its own, unnamed
  mutexes.push_back(mutex);
  return mutex;
}
BOOL WINAPI Directory(LPCSTR p, LPSECURITY_ATTRIBUTES s) {
  return Fails(kCreateDirectory) ? FALSE : inner.CreateDirectoryA(p, s);
}
DWORD WINAPI ProfileRead(LPCSTR s, LPCSTR k, LPCSTR d, LPSTR out, DWORD size, LPCSTR f) {
  if (!Fails(kProfileRead)) return inner.GetPrivateProfileStringA(s, k, d, out, size, f);
  if (size > 0) out[0] = '\0';
  return 0;
}
DWORD WINAPI SectionRead(LPCSTR s, LPSTR out, DWORD size, LPCSTR f) {
  if (!Fails(kSectionRead)) return inner.GetPrivateProfileSectionA(s, out, size, f);
  if (size > 1) out[0] = out[1] = '\0';
  return 0;
}
BOOL WINAPI ProfileWrite(LPCSTR s, LPCSTR k, LPCSTR v, LPCSTR f) {
  return Fails(kProfileWrite) ? FALSE : inner.WritePrivateProfileStringA(s, k, v, f);
}
HANDLE WINAPI File(LPCSTR p, DWORD a, DWORD s, LPSECURITY_ATTRIBUTES sa, DWORD c, DWORD f,
                   HANDLE t) {
  if (!Fails(kCreateFile)) return inner.CreateFileA(p, a, s, sa, c, f, t);
  SetLastError(ERROR_ACCESS_DENIED);
  return INVALID_HANDLE_VALUE;
}
BOOL WINAPI Write(HANDLE h, LPCVOID d, DWORD n, LPDWORD w, LPOVERLAPPED o) {
  if (!Fails(kWriteFile)) return inner.WriteFile(h, d, n, w, o);
  SetLastError(ERROR_DISK_FULL);
  return FALSE;
}
BSTR WINAPI AllocString(const OLECHAR* t, UINT n) {
  return Fails(kAllocString) ? nullptr : inner.SysAllocStringLen(t, n);
}
SAFEARRAY* WINAPI ArrayCreate(VARTYPE t, UINT d, SAFEARRAYBOUND* b) {
  return Fails(kArrayCreate) ? nullptr : inner.SafeArrayCreate(t, d, b);
}
HRESULT WINAPI ArrayPut(SAFEARRAY* a, LONG* i, void* v) {
  return Fails(kArrayPut) ? E_OUTOFMEMORY : inner.SafeArrayPutElement(a, i, v);
}
HRESULT WINAPI ArrayCopy(SAFEARRAY* a, SAFEARRAY** out) {
  return Fails(kArrayCopy) ? E_OUTOFMEMORY : inner.SafeArrayCopy(a, out);
}
FILE* FileOpen(const char* p, const char* m) {
  return Fails(kFileOpen) ? nullptr : inner.fopen(p, m);
}
size_t FileRead(void* b, size_t s, size_t n, FILE* f) {
  return Fails(kFileRead) ? 0 : inner.fread(b, s, n, f);
}
HINSTANCE WINAPI Shell(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) {
  return Fails(kShellExecute) ? reinterpret_cast<HINSTANCE>(2) : reinterpret_cast<HINSTANCE>(42);
}
void WINAPI NoPause(DWORD) {}

int __stdcall CapturingLogger(const char* file, const char* data, int32_t length,
                              const char* marker, int32_t mode, int32_t* status);
FakeLibrary logger;

const char kTemplate[] =
    "[DCM]\r\nTid=17\r\nTver=3\r\nCount=3\r\n[DCM1]\r\nId=1\r\nscriptid=501\r\nOSthreshold=10\r\n"
    "OScondition=<\r\nNOSCount=0\r\n[DCM2]\r\nId=3\r\nscriptid=502\r\nOSthreshold=90\r\n"
    "OScondition=>\r\n[DCM3]\r\nId=4\r\nscriptid=503\r\nOSthreshold=100\r\nOScondition=<\r\n";

// One kind of pass: what the server answers and whether the template is sealed.
struct Scenario {
  const char* Name;
  bool ServerAccepts;
  bool TemplateSealed;
};

class FaultInjection : public ::testing::TestWithParam<Scenario> {
 protected:
  void SetUp() override {
    web = &InstallFakeWebPost();
    provider = &InstallFakeProvider();
    logger.FileName = "Rovanta.dll";
    logger.ExportName = "LogDataToDisk";
    logger.Export = reinterpret_cast<void*>(CapturingLogger);
    InstallFakeLibrary(&logger);
    RecordSleeps();
    Platform.Sleep = NoPause;
    inner = Platform;
    Platform.RegOpenKeyExA = RegOpenKey;
    Platform.RegQueryValueExA = RegQueryValue;
    Platform.LoadLibraryA = LoadLib;
    Platform.GetProcAddress = ProcAddress;
    Platform.CreateMutexA = Mutex;
    Platform.CreateDirectoryA = Directory;
    Platform.GetPrivateProfileStringA = ProfileRead;
    Platform.GetPrivateProfileSectionA = SectionRead;
    Platform.WritePrivateProfileStringA = ProfileWrite;
    Platform.CreateFileA = File;
    Platform.WriteFile = Write;
    Platform.SysAllocStringLen = AllocString;
    Platform.SafeArrayCreate = ArrayCreate;
    Platform.SafeArrayPutElement = ArrayPut;
    Platform.SafeArrayCopy = ArrayCopy;
    Platform.fopen = FileOpen;
    Platform.fread = FileRead;
    Platform.ShellExecuteA = Shell;
    const Scenario& scenario = GetParam();
    install = folder.Path() + "\\";
    CreateDirectoryA(folder.Join("Ardo").c_str(), nullptr);
    CreateDirectoryA(folder.Join("Ardo\\MonitorTemplate").c_str(), nullptr);
    folder.WriteFile("Ardo\\MonitorTemplate\\DesktopMonitor.ini", kTemplate);
    char checksum[64];
    ComputeFileMd5(folder.Join("Ardo\\MonitorTemplate\\DesktopMonitor.ini").c_str(), checksum,
                   sizeof checksum);
    for (const char* key : {"SOFTWARE\\WOW6432NODE\\VUREZU", "SOFTWARE\\VUREZU"}) {
      hklm.SetString(key, "InstallationPath", install);
      hklm.SetString(key, "REGID", "12345");
      hklm.SetString(key, "MEMBERID", "m-77");
      hklm.SetString(key, "SITEID", "s-9");
      hklm.SetString(key, "TYPE", "1");
      hklm.SetString(key, "ServerHost", "127.0.0.1:8443");
      hklm.SetString(key, "performance", scenario.TemplateSealed ? checksum : "0");
    }
  }
  void TearDown() override {
    for (HANDLE mutex : mutexes)
      CloseHandle(mutex);
    mutexes.clear();
    LogDataToDisk = nullptr;
  }

  // Runs one pass from a clean state; the entry `entry` fails at its call `n` (none: -1).
  int RunOnePass(int entry, int n) {
    ResetAgentState();
    MonitorFunctions.clear();
    StateUnchanged = 1;
    HMODULE none = nullptr;
    UnloadPerformanceProvider(&none);
    DeleteFileA(folder.Join("Ardo\\MonitorTemplate\\config.ini").c_str());
    RemoveArchive();
    if (GetParam().ServerAccepts) {
      web->Accept();
    } else {
      web->Refuse();
    }
    web->Documents.clear();
    provider->Answer(TextList({"43.5", "12.0", "4000"}), TextList({"0", "0", "0"}));
    log.clear();
    for (int& count : calls)
      count = 0;
    failing = entry;
    failAt = n;
    const int result = RunPass();
    failing = -1;
    return result;
  }

  void RemoveArchive() {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(folder.Join("ZIVPostLogs\\*.xml").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
      DeleteFileA(folder.Join(std::string("ZIVPostLogs\\") + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }

  std::set<std::string> Archived() const {
    std::set<std::string> contents;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(folder.Join("ZIVPostLogs\\*.xml").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return contents;
    do {
      contents.insert(folder.ReadFile(std::string("ZIVPostLogs\\") + found.cFileName));
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return contents;
  }

  // Every document the pass built and logged is sent, archived, or its loss is logged.
  void ExpectNoDocumentLost(const std::string& where) {
    std::set<std::string> built;
    bool archiveRefused = false;
    for (const LoggedLine& line : log) {
      if (line.Module == "directWeb_Post" && line.Val1 == "web Post" &&
          line.Val2.rfind("<wpdcm", 0) == 0) {
        built.insert(line.Val2);
      }
      if (line.Val2 == "Archive not written") archiveRefused = true;
    }
    const std::set<std::string> archived = Archived();
    for (const std::string& document : built) {
      const bool sent = GetParam().ServerAccepts &&
                        std::count(web->Documents.begin(), web->Documents.end(), document) > 0;
      EXPECT_TRUE(sent || archived.count(document) > 0 || archiveRefused)
          << where << ": lost " << document.substr(0, 60);
    }
  }

  TempFolder folder;
  PrivateLocalMachine hklm;
  PlatformGuard guard;
  std::string install;
  FakeWebPost* web = nullptr;
  FakeProvider* provider = nullptr;
  std::vector<LoggedLine>& log = CaptureLog();
};

std::vector<LoggedLine>* capturedLines;
int __stdcall CapturingLogger(const char*, const char* data, int32_t length, const char* marker,
                              int32_t, int32_t*) {
  if (marker != nullptr) return 1;
  std::string line(data, static_cast<size_t>(length));
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
    fields.push_back(line.substr(start, tab - start));
  }
  fields.push_back(line.substr(start, line.size() - start - 1));
  fields.resize(6);
  capturedLines->push_back(
      {fields[1].substr(fields[1].find(' ') + 1), fields[2], fields[3], fields[4], fields[5]});
  return 1;
}

TEST_P(FaultInjection, EveryFailingCallEndsThePassCleanly) {
  capturedLines = &log;
  ASSERT_EQ(0, RunOnePass(-1, 0));
  ASSERT_FALSE(log.empty());
  ASSERT_EQ("Application Ended", log.back().Val1);
  const std::vector<int> reached(calls, calls + kEntryCount);
  int sites = 0, runs = 0;
  for (int entry = 0; entry < kEntryCount; ++entry) {
    if (reached[entry] > 0) ++sites;
    for (int n = 1; n <= reached[entry]; ++n) {
      const std::string where =
          std::string(kEntryNames[entry]) + " call " + std::to_string(n) + " failing";
      EXPECT_EQ(0, RunOnePass(entry, n)) << where;
      ++runs;
      // A pass that lost its installation path or its logger writes no line at all.
      if (!log.empty()) {
        EXPECT_EQ("Application Ended", log.back().Val1) << where;
        EXPECT_EQ(1,
                  std::count_if(log.begin(), log.end(),
                                [](const LoggedLine& l) { return l.Val1 == "Application Ended"; }))
            << where;
      }
      ExpectNoDocumentLost(where);
    }
  }
  int total = 0;
  for (int count : reached)
    total += count;
  EXPECT_EQ(total, runs);
  printf(
      "[ fault injection ] %s: %d fallible calls in a pass at %d of %d entries; %d runs, each "
      "with one of them failing\n",
      GetParam().Name, total, sites, static_cast<int>(kEntryCount), runs);
}

INSTANTIATE_TEST_SUITE_P(Passes, FaultInjection,
                         ::testing::Values(Scenario{"accepted", true, true},
                                           Scenario{"server_down", false, true},
                                           Scenario{"template_altered", true, false}),
                         [](const ::testing::TestParamInfo<Scenario>& param) {
                           return std::string(param.param.Name);
                         });

}  // namespace
