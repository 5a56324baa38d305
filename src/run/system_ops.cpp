// Profile reads, file presence, the system drive and the logical drives.
// None of these logs or reports: callers decide what a result means.
#include "run/agent_state.h"
#include "run/platform_calls.h"
#include "run/system_ops.h"

void ReadIniValue(const char* section, const char* key, const char* file, char* out) {
  char buffer[kTextSize] = {};
  Platform.GetPrivateProfileStringA(section, key, "", buffer, 255, file);
  buffer[sizeof buffer - 1] = '\0';
  CopyText(out, kTextSize, buffer);
}

// The attributes, not a find-first search: a search opens and reads the parent folder (four
// round trips to the Wine server), and every log line asks twice.
bool FileExists(const char* path) {
  return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool GetSystemDriveLetter(char* out) {
  char windowsFolder[kTextSize] = {};
  GetWindowsDirectoryA(windowsFolder, 255);
  out[0] = windowsFolder[0];
  return true;
}

bool ListLogicalDrives(std::vector<char>& drives) {
  DWORD mask = Platform.GetLogicalDrives();
  for (char letter = 'A'; mask != 0 && letter <= 'Z'; ++letter, mask >>= 1) {
    if (mask & 1) drives.push_back(letter);
  }
  return true;
}
