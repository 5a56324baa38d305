// CreateFolderPath: makes a folder and every missing folder above it.
// Failures are ignored: existing folders and prefixes such as "C:" do no harm.
#include "log/app_log.h"
#include "run/platform_calls.h"

void CreateFolderPath(char* path) {
  SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
  for (char* p = path; *p != '\0'; ++p) {
    if (*p != '\\') continue;
    *p = '\0';
    Platform.CreateDirectoryA(path, nullptr);
    *p = '\\';
  }
  Platform.CreateDirectoryA(path, nullptr);
}
