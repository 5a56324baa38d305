// The installation folder, the executable folder and registry values of the agent.
// Only the installation path looks at WOW64; every other value uses the plain agent key.
#include <string.h>

#include "run/agent_state.h"
#include "run/platform_calls.h"
#include "run/system_ops.h"

typedef BOOL(WINAPI* IsWow64ProcessFn)(HANDLE, PBOOL);

// Kept process-wide once looked up; null when the system does not offer it.
static IsWow64ProcessFn IsWow64ProcessEntry;

int ReadAgentRegistryValue(const char* subkey, const char* valueName, char* out) {
  HKEY key;
  if (Platform.RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, KEY_QUERY_VALUE, &key) !=
      ERROR_SUCCESS) {
    return 0;
  }
  char buffer[kTextSize] = {};
  DWORD size = sizeof buffer;
  LONG result = Platform.RegQueryValueExA(key, valueName, nullptr, nullptr,
                                          reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || size > sizeof buffer) return 0;
  // Whatever the value's type, the text ends at its first NUL within the data; data that
  // fills all 256 bytes without one holds a text of 256 characters or more: too long.
  if (memchr(buffer, '\0', sizeof buffer) == nullptr) return 0;
  CopyText(out, kTextSize, buffer);
  return 1;
}

int LookupModuleFolder() {
  char path[kTextSize] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  path[sizeof path - 1] = '\0';
  const char* lastBackslash = strrchr(path, '\\');
  if (lastBackslash == nullptr) return 0;
  CopyTextPrefix(ModuleFolder, sizeof ModuleFolder, path,
                 static_cast<size_t>(lastBackslash - path));
  return 1;
}

int LookupInstallPath() {
  HMODULE kernel = GetModuleHandleA("kernel32");
  IsWow64ProcessEntry = kernel ? reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void*>(
                                     Platform.GetProcAddress(kernel, "IsWow64Process")))
                               : nullptr;
  BOOL wow64 = FALSE;
  if (IsWow64ProcessEntry != nullptr) IsWow64ProcessEntry(GetCurrentProcess(), &wow64);
  const char* key = wow64 ? "SOFTWARE\\WOW6432NODE\\VUREZU" : kAgentRegistryKey;
  char value[kTextSize];
  if (!ReadAgentRegistryValue(key, "InstallationPath", value)) return 0;
  CopyText(InstallPath, value);
  LookupModuleFolder();
  return 1;
}
