// The platform calls of the agent that can fail or that tests must steer (time, pauses,
// drives), gathered in one table of function pointers that a test can swap entry by entry.
#pragma once

#include <windows.h>
#include <oleauto.h>

struct PlatformCalls {
  LONG(WINAPI* RegOpenKeyExA)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
  LONG(WINAPI* RegQueryValueExA)(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
  HMODULE(WINAPI* LoadLibraryA)(LPCSTR);
  FARPROC(WINAPI* GetProcAddress)(HMODULE, LPCSTR);
  BOOL(WINAPI* FreeLibrary)(HMODULE);
  HANDLE(WINAPI* CreateMutexA)(LPSECURITY_ATTRIBUTES, BOOL, LPCSTR);
  BOOL(WINAPI* CreateDirectoryA)(LPCSTR, LPSECURITY_ATTRIBUTES);
  DWORD(WINAPI* GetPrivateProfileStringA)(LPCSTR, LPCSTR, LPCSTR, LPSTR, DWORD, LPCSTR);
  void(WINAPI* Sleep)(DWORD);
  void(WINAPI* GetLocalTime)(LPSYSTEMTIME);
  DWORD(WINAPI* GetLogicalDrives)();
  UINT(WINAPI* GetDriveTypeA)(LPCSTR);
  BSTR(WINAPI* SysAllocStringLen)(const OLECHAR*, UINT);
};

// Filled with the real system functions; only tests change an entry.
extern PlatformCalls Platform;
