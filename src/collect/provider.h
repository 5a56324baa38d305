// The performance-data provider tovradc.dll: loading it beside the executable, the one
// request with every counter path, and safe reading of the two result lists it returns.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <stddef.h>

typedef int(__stdcall* ProviderQueryFn)(VARIANT* request, VARIANT* values, VARIANT* statuses,
                                        VARIANT* fourth);

// The resolved export; null while the provider is not loaded.
extern ProviderQueryFn ProviderQuery;

// Loads ModuleFolder + "\tovradc.dll" into *handle (null on failure) and resolves the export,
// logging and reporting a failure. 1 when the export is ready.
int LoadPerformanceProvider(HMODULE* handle);

// Frees the provider if loaded and clears the export pointer.
void UnloadPerformanceProvider(HMODULE* handle);

// The status list and the value list of one answer; element i belongs to record i.
struct ProviderResult {
  VARIANT Values;
  VARIANT Statuses;
};

// Sends the counter paths of MonitorFunctions in one request. False when there is no
// answer (the request could not be made, or both lists came back empty).
bool QueryPerformanceData(ProviderResult* result);

// How many status elements there are to evaluate: 0 unless the status list is a zero-based,
// one-dimensional array.
long ProviderRounds(const ProviderResult& result);

// Element i of a list as ANSI text; false when the list or the element is not there or is
// not a text. Nothing outside an array is read.
bool ReadProviderStatus(const ProviderResult& result, long i, char* out, size_t capacity);
bool ReadProviderValue(const ProviderResult& result, long i, char* out, size_t capacity);

// Destroys both lists.
void ReleaseProviderResult(ProviderResult* result);
