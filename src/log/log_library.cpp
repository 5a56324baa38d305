// Loading and unloading of the circular logger library beside the executable.
// Nothing is logged or reported here: the run sequence reports a missing logger.
#include "log/log_library.h"

#include "run/agent_state.h"
#include "run/platform_calls.h"

LogDataToDiskFn LogDataToDisk;

int LoadLogLibrary(HMODULE* handle) {
  char path[255] = {};
  CopyText(path, ModuleFolder);
  AppendText(path, "\\Rovanta.dll");
  *handle = Platform.LoadLibraryA(path);
  if (*handle == nullptr) return 0;
  LogDataToDisk = reinterpret_cast<LogDataToDiskFn>(
      reinterpret_cast<void*>(Platform.GetProcAddress(*handle, "LogDataToDisk")));
  return LogDataToDisk != nullptr ? 1 : 0;
}

void UnloadLogLibrary(HMODULE* handle) {
  if (*handle != nullptr) {
    Platform.FreeLibrary(*handle);
    *handle = nullptr;
  }
  LogDataToDisk = nullptr;
}
