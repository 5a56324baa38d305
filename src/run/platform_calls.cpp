// The table of real system functions behind the agent's fallible and time-dependent calls.
// Tests replace single entries to fail a call or to fix the clock.
#include "run/platform_calls.h"

#include <shellapi.h>

namespace {

typedef HINSTANCE(WINAPI* ShellExecuteFn)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);

// The shell is needed only to start the template tool, so it is loaded then and not with
// every pass (it brings shlwapi and shcore, about a mebibyte resident under Wine). It stays
// loaded: the started program may still be handled by threads of the library.
HINSTANCE WINAPI ShellExecuteOnDemand(HWND window, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                      LPCSTR folder, INT show) {
  HMODULE shell = LoadLibraryA("shell32.dll");
  ShellExecuteFn run = shell == nullptr ? nullptr
                                        : reinterpret_cast<ShellExecuteFn>(reinterpret_cast<void*>(
                                              GetProcAddress(shell, "ShellExecuteA")));
  if (run == nullptr) return reinterpret_cast<HINSTANCE>(SE_ERR_DLLNOTFOUND);
  return run(window, verb, file, parameters, folder, show);
}

}  // namespace

PlatformCalls Platform = {
    ::RegOpenKeyExA,
    ::RegQueryValueExA,
    ::LoadLibraryA,
    ::GetProcAddress,
    ::FreeLibrary,
    ::CreateMutexA,
    ::CreateDirectoryA,
    ::GetPrivateProfileStringA,
    ::GetPrivateProfileSectionA,
    ::WritePrivateProfileStringA,
    ::CreateFileA,
    ::WriteFile,
    ::Sleep,
    ::GetLocalTime,
    ::_time64,
    ::GetLogicalDrives,
    ::GetDriveTypeA,
    ::SysAllocStringLen,
    ::SafeArrayCreate,
    ::SafeArrayPutElement,
    ::SafeArrayCopy,
    ::fopen,
    ::fread,
    ShellExecuteOnDemand,
};
