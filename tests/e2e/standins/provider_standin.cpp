// Test stand-in for tovradc.dll that answers at once from a script beside it.
// provider_script.txt: "empty" leaves both lists empty, "crash" makes an access violation,
// "shape=<name>" answers lists of a wrong shape (see Misshapen); otherwise line i is
// "status<TAB>value" for request element i (elements without a line get "0" and "1").
// The request's paths are written to provider_request.txt, one per line.
#include <windows.h>
#include <oleauto.h>

#include <stdio.h>
#include <string.h>

#include <string>

#include "beside_library.h"
#include <vector>

extern "C" int __stdcall arr_ovelperfgetperformancedata(VARIANT* request, VARIANT* values,
                                                        VARIANT* statuses, VARIANT* fourth);

namespace {

std::string Beside(const char* name) {
  return BesideModuleOf(reinterpret_cast<const void*>(&arr_ovelperfgetperformancedata), name);
}

SAFEARRAY* Texts(const std::vector<std::string>& texts) {
  SAFEARRAYBOUND bound = {static_cast<ULONG>(texts.size()), 0};
  SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 1, &bound);
  for (LONG i = 0; i < static_cast<LONG>(texts.size()); ++i) {
    const std::string& text = texts[static_cast<size_t>(i)];
    std::wstring wide(text.begin(), text.end());
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    SafeArrayPutElement(array, &i, &v);
    VariantClear(&v);
  }
  return array;
}

VARIANT ListOf(SAFEARRAY* array) {
  VARIANT list;
  VariantInit(&list);
  list.vt = VT_ARRAY | VT_VARIANT;
  list.parray = array;
  return list;
}

// Lists of the shapes a faulty provider could answer, for request of n elements.
void Misshapen(const std::string& shape, size_t n, VARIANT* values, VARIANT* statuses) {
  std::vector<std::string> zeros(n, "0"), ones(n, "1");
  if (shape == "not-array") {
    statuses->vt = VT_BSTR;
    statuses->bstrVal = SysAllocString(L"0");
    values->vt = VT_I4;
    values->lVal = 1;
  } else if (shape == "two-dimensions" || shape == "lower-bound-1") {
    const bool two = shape == "two-dimensions";
    SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(n), two ? 0 : 1}, {2, 0}};
    *statuses = ListOf(SafeArrayCreate(VT_VARIANT, two ? 2 : 1, bounds));
    *values = ListOf(SafeArrayCreate(VT_VARIANT, two ? 2 : 1, bounds));
  } else if (shape == "integers") {
    SAFEARRAYBOUND bound = {static_cast<ULONG>(n), 0};
    *statuses = ListOf(SafeArrayCreate(VT_VARIANT, 1, &bound));
    *values = ListOf(SafeArrayCreate(VT_VARIANT, 1, &bound));
    for (LONG i = 0; i < static_cast<LONG>(n); ++i) {
      VARIANT number;
      VariantInit(&number);
      number.vt = VT_I4;
      number.lVal = 0;
      SafeArrayPutElement(statuses->parray, &i, &number);
      SafeArrayPutElement(values->parray, &i, &number);
    }
  } else if (shape == "fewer") {
    *statuses = ListOf(Texts(std::vector<std::string>(zeros.begin(), zeros.begin() + n / 2)));
    *values = ListOf(Texts(ones));
  } else if (shape == "more") {
    zeros.resize(n + 5, "0");
    ones.resize(n + 5, "1");
    *statuses = ListOf(Texts(zeros));
    *values = ListOf(Texts(ones));
  } else if (shape == "values-short") {
    *statuses = ListOf(Texts(zeros));
    *values = ListOf(Texts(std::vector<std::string>(ones.begin(), ones.begin() + n / 2)));
  }
}

}  // namespace

int __stdcall arr_ovelperfgetperformancedata(VARIANT* request, VARIANT* values, VARIANT* statuses,
                                             VARIANT*) {
  std::vector<std::string> paths;
  if (request->vt == (VT_ARRAY | VT_VARIANT)) {
    LONG upper = -1;
    SafeArrayGetUBound(request->parray, 1, &upper);
    for (LONG i = 0; i <= upper; ++i) {
      VARIANT element;
      VariantInit(&element);
      SafeArrayGetElement(request->parray, &i, &element);
      std::wstring wide(element.bstrVal ? element.bstrVal : L"");
      paths.push_back(std::string(wide.begin(), wide.end()));
      VariantClear(&element);
    }
  }
  if (FILE* out = fopen(Beside("provider_request.txt").c_str(), "wb")) {
    for (const std::string& path : paths)
      fprintf(out, "%s\n", path.c_str());
    fclose(out);
  }
  std::vector<std::string> lines;
  if (FILE* script = fopen(Beside("provider_script.txt").c_str(), "rb")) {
    char line[512];
    while (fgets(line, sizeof line, script)) {
      line[strcspn(line, "\r\n")] = '\0';
      lines.push_back(line);
    }
    fclose(script);
  }
  if (!lines.empty() && lines[0] == "empty") return 1;
  if (!lines.empty() && lines[0] == "crash") {
    volatile int* nowhere = nullptr;
    *nowhere = 1;  // an access violation, as a faulty provider could cause
  }
  if (!lines.empty() && lines[0].rfind("shape=", 0) == 0) {
    Misshapen(lines[0].substr(6), paths.size(), values, statuses);
    return 1;
  }
  std::vector<std::string> statusTexts, valueTexts;
  for (size_t i = 0; i < paths.size(); ++i) {
    std::string line = i < lines.size() ? lines[i] : "0\t1";
    size_t tab = line.find('\t');
    statusTexts.push_back(line.substr(0, tab));
    valueTexts.push_back(tab == std::string::npos ? "" : line.substr(tab + 1));
  }
  values->vt = VT_ARRAY | VT_VARIANT;
  values->parray = Texts(valueTexts);
  statuses->vt = VT_ARRAY | VT_VARIANT;
  statuses->parray = Texts(statusTexts);
  return 1;
}
