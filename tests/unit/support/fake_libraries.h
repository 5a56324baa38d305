// In-process stand-ins for companion libraries: the platform table's LoadLibraryA,
// GetProcAddress and FreeLibrary are pointed at a dispatcher that answers for the registered
// file names and passes every other library to the system.
#pragma once

#include <string>
#include <vector>

struct FakeLibrary {
  const char* FileName;    // e.g. "Lorsend.dll": a loaded path ending so is this library
  const char* ExportName;  // its one export
  void* Export;
  bool Loads = true;
  bool HasExport = true;
  int Freed = 0;
  std::vector<std::string> LoadedPaths;
};

// Registers the library (kept by address; it must outlive the test) and installs the
// dispatcher into the platform table. Restore the table with a PlatformGuard.
void InstallFakeLibrary(FakeLibrary* library);
