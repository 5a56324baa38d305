// The unhandled-exception filter of the agent: it logs the end of the pass as the run
// sequence's own handler does and ends the process with exit code 0. The system releases the
// instance mutex with the process.
#include "run/crash_guard.h"

#include <windows.h>

#include "log/app_log.h"

namespace {

LONG WINAPI EndPassAfterFault(EXCEPTION_POINTERS*) {
  static volatile LONG entered = 0;
  // A fault inside the logger itself would come back here: then end at once.
  if (InterlockedExchange(&entered, 1) == 0) {
    WriteAppLog("WM", "Error", "", "", "Terminated unexpectedly");
    WriteAppLog("----", "----", "Application Ended", "----", "----");
  }
  TerminateProcess(GetCurrentProcess(), 0);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

void InstallCrashGuard() {
  SetUnhandledExceptionFilter(EndPassAfterFault);
}
