// tovradc.dll: the suite's performance-data provider. One call reads every counter of the
// request: disks, memory and processor straight from the system, any other path through PDH,
// with one shared one-second sample for the rate counters.
#include <windows.h>
#include <oleauto.h>
#include <pdh.h>
#include <pdhmsg.h>

#include <string>
#include <vector>

#include "counter_path.h"
#include "run/bounded_text.h"
#include "value_text.h"

// Exported under its plain name through tovradc.def. request: VT_ARRAY|VT_VARIANT of BSTR
// counter paths. values and statuses receive arrays of the same length (lower bound 0) of
// BSTRs: status "0" with a decimal value, or a PDH status code as a signed decimal and an
// empty value. fourth is left empty. Returns 1 when the lists were made.
extern "C" int __stdcall arr_ovelperfgetperformancedata(VARIANT* request, VARIANT* values,
                                                        VARIANT* statuses, VARIANT* fourth);

namespace {

constexpr DWORD kSampleMs = 1000;

struct Reading {
  std::wstring Path;
  CounterKind Kind = kBadPath;
  char Drive = 0;
  PDH_HCOUNTER PdhCounter = nullptr;
  LONG Status = 0;
  char Value[64] = "";
};

uint64_t Ticks(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

void ReadDisk(Reading& r) {
  const char root[4] = {r.Drive, ':', '\\', '\0'};
  ULARGE_INTEGER available, total, free;
  if (!GetDiskFreeSpaceExA(root, &available, &total, &free) || total.QuadPart == 0) {
    r.Status = static_cast<LONG>(PDH_CSTATUS_NO_INSTANCE);
    return;
  }
  // The volume's free bytes, as the system's own counters count them (not the caller's quota).
  if (r.Kind == kPercentFreeSpace) {
    FormatDecimal(static_cast<double>(free.QuadPart) * 100.0 / static_cast<double>(total.QuadPart),
                  6, r.Value, sizeof r.Value);
  } else {
    FormatDecimal(static_cast<double>(free.QuadPart / (1024 * 1024)), 0, r.Value, sizeof r.Value);
  }
}

void ReadMemory(Reading& r) {
  MEMORYSTATUSEX memory = {};
  memory.dwLength = sizeof memory;
  if (!GlobalMemoryStatusEx(&memory)) {
    r.Status = static_cast<LONG>(PDH_CSTATUS_NO_OBJECT);
    return;
  }
  FormatDecimal(static_cast<double>(memory.ullAvailPhys / (1024 * 1024)), 0, r.Value,
                sizeof r.Value);
}

void ReadPdh(Reading& r) {
  PDH_FMT_COUNTERVALUE value = {};
  PDH_STATUS status = PdhGetFormattedCounterValue(r.PdhCounter, PDH_FMT_DOUBLE, nullptr, &value);
  if (status != ERROR_SUCCESS) {
    r.Status = status;
  } else if (value.CStatus != PDH_CSTATUS_VALID_DATA && value.CStatus != PDH_CSTATUS_NEW_DATA) {
    r.Status = static_cast<LONG>(value.CStatus);
  } else {
    FormatDecimal(value.doubleValue, 6, r.Value, sizeof r.Value);
  }
}

std::wstring PathOf(SAFEARRAY* request, VARTYPE elementType, LONG index) {
  std::wstring path;
  if (elementType == VT_BSTR) {
    BSTR text = nullptr;
    if (SUCCEEDED(SafeArrayGetElement(request, &index, &text)) && text != nullptr) {
      path.assign(text, SysStringLen(text));
    }
    SysFreeString(text);
    return path;
  }
  VARIANT element;
  VariantInit(&element);
  if (SUCCEEDED(SafeArrayGetElement(request, &index, &element)) && element.vt == VT_BSTR &&
      element.bstrVal != nullptr) {
    path.assign(element.bstrVal, SysStringLen(element.bstrVal));
  }
  VariantClear(&element);
  return path;
}

bool ReadRequest(const VARIANT* request, std::vector<Reading>& readings) {
  if (request == nullptr || (request->vt & ~VT_TYPEMASK) != VT_ARRAY ||
      request->parray == nullptr || SafeArrayGetDim(request->parray) != 1) {
    return false;
  }
  const VARTYPE elementType = request->vt & VT_TYPEMASK;
  if (elementType != VT_VARIANT && elementType != VT_BSTR) return false;
  LONG lower = 0, upper = -1;
  if (FAILED(SafeArrayGetLBound(request->parray, 1, &lower)) ||
      FAILED(SafeArrayGetUBound(request->parray, 1, &upper))) {
    return false;
  }
  for (LONG i = lower; i <= upper; ++i) {
    Reading r;
    r.Path = PathOf(request->parray, elementType, i);
    r.Kind = ClassifyCounterPath(r.Path.c_str(), &r.Drive);
    readings.push_back(r);
  }
  return true;
}

void Sample(std::vector<Reading>& readings) {
  bool needProcessor = false;
  PDH_HQUERY query = nullptr;
  for (Reading& r : readings) {
    if (r.Kind == kProcessorTime) needProcessor = true;
    if (r.Kind == kBadPath) r.Status = static_cast<LONG>(PDH_CSTATUS_BAD_COUNTERNAME);
    if (r.Kind != kOtherCounter) continue;
    if (query == nullptr && PdhOpenQueryW(nullptr, 0, &query) != ERROR_SUCCESS) query = nullptr;
    PDH_STATUS added = query ? PdhAddEnglishCounterW(query, r.Path.c_str(), 0, &r.PdhCounter)
                             : static_cast<PDH_STATUS>(PDH_CSTATUS_NO_OBJECT);
    if (added != ERROR_SUCCESS) r.Status = added;
  }
  // One sample interval serves every rate counter of the request.
  FILETIME idle1, kernel1, user1, idle2, kernel2, user2;
  const bool rates = needProcessor || query != nullptr;
  if (needProcessor) GetSystemTimes(&idle1, &kernel1, &user1);
  if (query != nullptr) PdhCollectQueryData(query);
  if (rates) Sleep(kSampleMs);
  if (needProcessor) GetSystemTimes(&idle2, &kernel2, &user2);
  if (query != nullptr) PdhCollectQueryData(query);

  char processor[64] = "";
  if (needProcessor) {
    FormatDecimal(BusyPercent(Ticks(idle2) - Ticks(idle1), Ticks(kernel2) - Ticks(kernel1),
                              Ticks(user2) - Ticks(user1)),
                  6, processor, sizeof processor);
  }
  for (Reading& r : readings) {
    if (r.Status != 0) continue;
    switch (r.Kind) {
      case kPercentFreeSpace:
      case kFreeMegabytes:
        ReadDisk(r);
        break;
      case kAvailableMegabytes:
        ReadMemory(r);
        break;
      case kProcessorTime:
        CopyText(r.Value, processor);
        break;
      case kOtherCounter:
        ReadPdh(r);
        break;
      case kBadPath:
        break;
    }
  }
  if (query != nullptr) PdhCloseQuery(query);
}

// A SAFEARRAY of VARIANT BSTRs, lower bound 0; null when it cannot be made.
SAFEARRAY* TextArray(const std::vector<std::wstring>& texts) {
  SAFEARRAYBOUND bound = {static_cast<ULONG>(texts.size()), 0};
  SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 1, &bound);
  if (array == nullptr) return nullptr;
  for (LONG i = 0; i < static_cast<LONG>(texts.size()); ++i) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocStringLen(texts[i].data(), static_cast<UINT>(texts[i].size()));
    HRESULT put = v.bstrVal ? SafeArrayPutElement(array, &i, &v) : E_OUTOFMEMORY;
    VariantClear(&v);
    if (FAILED(put)) {
      SafeArrayDestroy(array);
      return nullptr;
    }
  }
  return array;
}

std::wstring Wide(const char* text) {
  std::wstring wide;
  for (const char* p = text; *p != '\0'; ++p)
    wide.push_back(static_cast<wchar_t>(*p));
  return wide;
}

int Answer(VARIANT* request, VARIANT* values, VARIANT* statuses) {
  std::vector<Reading> readings;
  if (!ReadRequest(request, readings)) return 0;
  Sample(readings);
  std::vector<std::wstring> valueTexts, statusTexts;
  for (const Reading& r : readings) {
    char status[16];
    FormatText(status, sizeof status, "%ld", static_cast<long>(r.Status));
    statusTexts.push_back(Wide(status));
    valueTexts.push_back(r.Status == 0 ? Wide(r.Value) : std::wstring());
  }
  SAFEARRAY* valueArray = TextArray(valueTexts);
  SAFEARRAY* statusArray = TextArray(statusTexts);
  if (valueArray == nullptr || statusArray == nullptr) {
    if (valueArray) SafeArrayDestroy(valueArray);
    if (statusArray) SafeArrayDestroy(statusArray);
    return 0;
  }
  values->vt = VT_ARRAY | VT_VARIANT;
  values->parray = valueArray;
  statuses->vt = VT_ARRAY | VT_VARIANT;
  statuses->parray = statusArray;
  return 1;
}

}  // namespace

int __stdcall arr_ovelperfgetperformancedata(VARIANT* request, VARIANT* values, VARIANT* statuses,
                                             VARIANT* fourth) {
  (void)fourth;
  if (values == nullptr || statuses == nullptr) return 0;
  try {
    return Answer(request, values, statuses);
  } catch (...) {  // nothing may cross into the caller; out of memory leaves the lists empty
    return 0;
  }
}
