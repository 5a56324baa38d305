// Test stand-in: a library that loads but exports nothing the suite looks for, to stand in
// for a damaged companion library.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
  return TRUE;
}
