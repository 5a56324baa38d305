// Test helper: writes numbered lines to one file through Rovanta.dll, so that several
// processes at once can show that the logger loses and interleaves nothing.
// Usage: rovanta_writer <dll> <file> <writer id> <count>
#include <windows.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef int(__stdcall* LogDataToDiskFn)(const char*, const char*, int32_t, const char*, int32_t,
                                        int32_t*);

int main(int argc, char** argv) {
  if (argc != 5) return 2;
  HMODULE library = LoadLibraryA(argv[1]);
  if (library == nullptr) return 3;
  LogDataToDiskFn write = reinterpret_cast<LogDataToDiskFn>(
      reinterpret_cast<void*>(GetProcAddress(library, "LogDataToDisk")));
  if (write == nullptr) return 4;
  const int count = atoi(argv[4]);
  char line[600];
  char padding[501];
  memset(padding, 'p', 500);
  padding[500] = '\0';
  int failures = 0;
  for (int i = 0; i < count; ++i) {
    // A long line: a torn write would show inside it.
    int length = snprintf(line, sizeof line, "writer=%s line=%d %s end\n", argv[3], i, padding);
    int32_t status = -1;
    if (!write(argv[2], line, length, nullptr, 2, &status) || status != 0) ++failures;
  }
  FreeLibrary(library);
  return failures == 0 ? 0 : 1;
}
