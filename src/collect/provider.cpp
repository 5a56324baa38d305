// LoadPerformanceProvider and QueryPerformanceData: the request is a SAFEARRAY of VARIANT
// texts, one per record in list order, empty paths included, so that result i is record i.
#include "collect/provider.h"

#include <new>

#include "log/app_log.h"
#include "report/status_report.h"
#include "run/agent_state.h"
#include "run/ole_text.h"
#include "run/platform_calls.h"
#include "template/monitor_function.h"

ProviderQueryFn ProviderQuery;

int LoadPerformanceProvider(HMODULE* handle) {
  char path[kTextSize];
  FormatText(path, sizeof path, "%s\\tovradc.dll", ModuleFolder);
  *handle = Platform.LoadLibraryA(path);
  if (*handle == nullptr) {
    WriteAppLog("InitDLL", "Error", "", "Failure", "Tovra dll Missing");
    ReportStatus("Tovra dll Missing");
    return 0;
  }
  WriteAppLog("InitDLL", "Info", "", "Success", "Tovra dll Loaded");
  ProviderQuery = reinterpret_cast<ProviderQueryFn>(
      reinterpret_cast<void*>(Platform.GetProcAddress(*handle, "arr_ovelperfgetperformancedata")));
  if (ProviderQuery == nullptr) {
    WriteAppLog("InitDLL", "Error", "", "Failure", "Tovra dll corrupted");
    ReportStatus("Tovra dll corrupted");
    return 0;
  }
  return 1;
}

void UnloadPerformanceProvider(HMODULE* handle) {
  if (*handle != nullptr) {
    Platform.FreeLibrary(*handle);
    *handle = nullptr;
  }
  ProviderQuery = nullptr;
}

namespace {

// The request array, element i the counter path of record i; null when it cannot be made.
SAFEARRAY* BuildPathArray() {
  SAFEARRAYBOUND bound = {static_cast<ULONG>(MonitorFunctions.size()), 0};
  SAFEARRAY* paths = Platform.SafeArrayCreate(VT_VARIANT, 1, &bound);
  if (paths == nullptr) return nullptr;
  try {
    for (LONG i = 0; i < static_cast<LONG>(MonitorFunctions.size()); ++i) {
      VARIANT path;
      SetBstrVariant(&path, MonitorFunctions[static_cast<size_t>(i)].CounterPath);
      HRESULT put = Platform.SafeArrayPutElement(paths, &i, &path);  // the array copies it
      VariantClear(&path);
      if (FAILED(put)) throw std::bad_alloc();
      Platform.Sleep(20);
    }
  } catch (...) {
    SafeArrayDestroy(paths);
    throw;
  }
  return paths;
}

// The list is a zero-based, one-dimensional array of VARIANTs or of BSTRs.
bool IsTextList(const VARIANT& list) {
  const VARTYPE element = list.vt & VT_TYPEMASK;
  if ((list.vt & ~VT_TYPEMASK) != VT_ARRAY || (element != VT_VARIANT && element != VT_BSTR) ||
      list.parray == nullptr || SafeArrayGetDim(list.parray) != 1) {
    return false;
  }
  LONG lower = 0;
  return SUCCEEDED(SafeArrayGetLBound(list.parray, 1, &lower)) && lower == 0;
}

long UpperBound(const VARIANT& list) {
  LONG upper = -1;
  if (!IsTextList(list) || FAILED(SafeArrayGetUBound(list.parray, 1, &upper))) return -1;
  return upper;
}

bool ReadElement(const VARIANT& list, long i, char* out, size_t capacity) {
  CopyText(out, capacity, "");
  if (i < 0 || i > UpperBound(list)) return false;
  LONG index = i;
  if ((list.vt & VT_TYPEMASK) == VT_BSTR) {
    BSTR text = nullptr;
    if (FAILED(SafeArrayGetElement(list.parray, &index, &text))) return false;
    try {
      BstrToAnsi(text, CP_ACP, out, capacity);
    } catch (...) {
      SysFreeString(text);
      throw;
    }
    SysFreeString(text);
    return true;
  }
  VARIANT element;
  VariantInit(&element);
  if (FAILED(SafeArrayGetElement(list.parray, &index, &element))) return false;
  const bool isText = element.vt == VT_BSTR;
  try {
    if (isText) BstrToAnsi(element.bstrVal, CP_ACP, out, capacity);
  } catch (...) {
    VariantClear(&element);
    throw;
  }
  VariantClear(&element);
  return isText;
}

}  // namespace

bool QueryPerformanceData(ProviderResult* result) {
  VariantInit(&result->Values);
  VariantInit(&result->Statuses);
  if (ProviderQuery == nullptr) return false;
  SAFEARRAY* paths = BuildPathArray();
  if (paths == nullptr) return false;
  VARIANT request;
  VariantInit(&request);
  HRESULT copied = Platform.SafeArrayCopy(paths, &request.parray);
  SafeArrayDestroy(paths);
  if (FAILED(copied)) throw std::bad_alloc();
  request.vt = VT_ARRAY | VT_VARIANT;

  VARIANT fourth;
  VariantInit(&fourth);
  WriteAppLog("Getval", "Info", "Start", "", "Query data");
  ProviderQuery(&request, &result->Values, &result->Statuses, &fourth);
  WriteAppLog("Getval", "Info", "Start", "", "Query data");
  VariantClear(&request);
  VariantClear(&fourth);  // never read, but whatever the provider left there is ours to free

  if (result->Values.vt == VT_EMPTY && result->Statuses.vt == VT_EMPTY) {
    WriteAppLog("InitDLL", "Error", "", "Query dll", "No data retrieved");
    return false;
  }
  return true;
}

long ProviderRounds(const ProviderResult& result) {
  return UpperBound(result.Statuses) + 1;
}

bool ReadProviderStatus(const ProviderResult& result, long i, char* out, size_t capacity) {
  return ReadElement(result.Statuses, i, out, capacity);
}

bool ReadProviderValue(const ProviderResult& result, long i, char* out, size_t capacity) {
  return ReadElement(result.Values, i, out, capacity);
}

void ReleaseProviderResult(ProviderResult* result) {
  VariantClear(&result->Values);
  VariantClear(&result->Statuses);
}
