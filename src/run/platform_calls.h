// The platform calls of the agent that can fail or that tests must steer (time, pauses,
// drives), gathered in one table of function pointers that a test can swap entry by entry.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <stdio.h>
#include <time.h>

struct PlatformCalls {
  LONG(WINAPI* RegOpenKeyExA)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
  LONG(WINAPI* RegQueryValueExA)(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
  HMODULE(WINAPI* LoadLibraryA)(LPCSTR);
  FARPROC(WINAPI* GetProcAddress)(HMODULE, LPCSTR);
  BOOL(WINAPI* FreeLibrary)(HMODULE);
  HANDLE(WINAPI* CreateMutexA)(LPSECURITY_ATTRIBUTES, BOOL, LPCSTR);
  BOOL(WINAPI* CreateDirectoryA)(LPCSTR, LPSECURITY_ATTRIBUTES);
  DWORD(WINAPI* GetPrivateProfileStringA)(LPCSTR, LPCSTR, LPCSTR, LPSTR, DWORD, LPCSTR);
  DWORD(WINAPI* GetPrivateProfileSectionA)(LPCSTR, LPSTR, DWORD, LPCSTR);
  BOOL(WINAPI* WritePrivateProfileStringA)(LPCSTR, LPCSTR, LPCSTR, LPCSTR);
  HANDLE(WINAPI* CreateFileA)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
  BOOL(WINAPI* WriteFile)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
  void(WINAPI* Sleep)(DWORD);
  void(WINAPI* GetLocalTime)(LPSYSTEMTIME);
  __time64_t (*Time64)(__time64_t*);  // seconds since 1970-01-01 00:00:00 UTC
  DWORD(WINAPI* GetLogicalDrives)();
  UINT(WINAPI* GetDriveTypeA)(LPCSTR);
  BSTR(WINAPI* SysAllocStringLen)(const OLECHAR*, UINT);
  SAFEARRAY*(WINAPI* SafeArrayCreate)(VARTYPE, UINT, SAFEARRAYBOUND*);
  HRESULT(WINAPI* SafeArrayPutElement)(SAFEARRAY*, LONG*, void*);
  HRESULT(WINAPI* SafeArrayCopy)(SAFEARRAY*, SAFEARRAY**);
  FILE* (*fopen)(const char*, const char*);
  size_t (*fread)(void*, size_t, size_t, FILE*);
  HINSTANCE(WINAPI* ShellExecuteA)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
};

// Filled with the real system functions; only tests change an entry.
extern PlatformCalls Platform;
