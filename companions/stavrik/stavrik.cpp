// Stavrik.exe: the suite's template tool. The agent starts it when the monitoring template
// fails its checksum; it records the request in Stavrik.log beside itself and exits.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "run/bounded_text.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char program[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
  if (length == 0 || length >= sizeof program) return 0;
  const char* lastBackslash = strrchr(program, '\\');
  if (lastBackslash == nullptr) return 0;
  char path[MAX_PATH + 16];
  CopyTextPrefix(path, sizeof path, program, static_cast<size_t>(lastBackslash + 1 - program));
  if (!AppendText(path, "Stavrik.log")) return 0;
  SYSTEMTIME now;
  GetLocalTime(&now);
  FILE* log = fopen(path, "ab");
  if (log == nullptr) return 0;
  fprintf(log, "%04d-%02d-%02d %02d:%02d:%02d Template regeneration requested\r\n", now.wYear,
          now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
  fclose(log);
  return 0;
}
