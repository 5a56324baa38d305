// Entry point of Quintrel.exe: one monitoring pass per start, no window, exit code 0.
// The arguments, the command line included, are not read.
#include <windows.h>

#include "run/crash_guard.h"
#include "run/run_sequence.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // An unattended agent must never stop at a system error box (a drive without media,
  // a missing file); failures come back as results instead.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  // Libraries are loaded by full path; keep the current folder out of the search for
  // the libraries they depend on.
  SetDllDirectoryA("");
  InstallCrashGuard();
  return RunPass();
}
