// The bridge to the circular logger library Rovanta.dll and its one export LogDataToDisk.
// The run sequence owns the library handle; the export pointer is process-wide.
#pragma once

#include <stdint.h>
#include <windows.h>

typedef int(__stdcall* LogDataToDiskFn)(const char* fileName, const char* data, int32_t length,
                                        const char* headerMarker, int32_t mode, int32_t* status);

// Null while the library is not loaded or lacks the export; WriteAppLog then writes nothing.
extern LogDataToDiskFn LogDataToDisk;

// Loads ModuleFolder + "\Rovanta.dll" into *handle (null on failure) and resolves the export.
// Returns 1 when both succeeded; a library without the export stays loaded.
int LoadLogLibrary(HMODULE* handle);

// Frees the library if loaded and clears the export pointer.
void UnloadLogLibrary(HMODULE* handle);
