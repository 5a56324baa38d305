// Test stand-in: holds the agent's single-instance mutex until told to let go.
// Usage: hold_mutex <ready file> <release file>; writes the ready file once it owns the mutex.
#include <windows.h>

#include <stdio.h>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  HANDLE mutex = CreateMutexA(nullptr, TRUE, "GlobalQuintrel123");
  if (mutex == nullptr || GetLastError() == ERROR_ALREADY_EXISTS) return 3;
  FILE* ready = fopen(argv[1], "w");
  if (ready == nullptr) return 4;
  fclose(ready);
  for (int waited = 0; waited < 120000; waited += 50) {
    if (GetFileAttributesA(argv[2]) != INVALID_FILE_ATTRIBUTES) break;
    Sleep(50);
  }
  ReleaseMutex(mutex);
  return 0;
}
