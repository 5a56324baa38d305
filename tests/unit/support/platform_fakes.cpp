// Fakes installed into the agent's platform table by the unit tests.
// Each one records what the agent asked of the system, or answers a fixed value.
#include "support/platform_fakes.h"

namespace {
SYSTEMTIME fixedTime;
std::vector<DWORD> sleeps;
std::vector<std::string> createdFolders;

void WINAPI FixedLocalTime(LPSYSTEMTIME out) {
  *out = fixedTime;
}
void WINAPI RecordingSleep(DWORD milliseconds) {
  sleeps.push_back(milliseconds);
}
BOOL WINAPI RecordingCreateDirectory(LPCSTR path, LPSECURITY_ATTRIBUTES security) {
  createdFolders.push_back(path);
  return CreateDirectoryA(path, security);
}
}  // namespace

SYSTEMTIME MakeTime(int year, int month, int day, int hour, int minute, int second) {
  SYSTEMTIME t = {};
  t.wYear = static_cast<WORD>(year);
  t.wMonth = static_cast<WORD>(month);
  t.wDay = static_cast<WORD>(day);
  t.wHour = static_cast<WORD>(hour);
  t.wMinute = static_cast<WORD>(minute);
  t.wSecond = static_cast<WORD>(second);
  return t;
}

void FixLocalTime(const SYSTEMTIME& moment) {
  fixedTime = moment;
  Platform.GetLocalTime = FixedLocalTime;
}

std::vector<DWORD>& RecordSleeps() {
  sleeps.clear();
  Platform.Sleep = RecordingSleep;
  return sleeps;
}

std::vector<std::string>& RecordCreatedFolders() {
  createdFolders.clear();
  Platform.CreateDirectoryA = RecordingCreateDirectory;
  return createdFolders;
}
