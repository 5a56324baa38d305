// The table of real system functions behind the agent's fallible and time-dependent calls.
// Tests replace single entries to fail a call or to fix the clock.
#include "run/platform_calls.h"

#include <shellapi.h>

PlatformCalls Platform = {
    ::RegOpenKeyExA,
    ::RegQueryValueExA,
    ::LoadLibraryA,
    ::GetProcAddress,
    ::FreeLibrary,
    ::CreateMutexA,
    ::CreateDirectoryA,
    ::GetPrivateProfileStringA,
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
    ::ShellExecuteA,
};
