// Test stand-in for tovradc.dll that answers at once from a script beside it.
// provider_script.txt: "empty" leaves both lists empty; otherwise line i is "status<TAB>value"
// for request element i (elements without a line get status "0" and value "1").
// The request's paths are written to provider_request.txt, one per line.
#include <windows.h>
#include <oleauto.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

extern "C" int __stdcall arr_ovelperfgetperformancedata(VARIANT* request, VARIANT* values,
                                                        VARIANT* statuses, VARIANT* fourth);

namespace {

std::string Beside(const char* name) {
  HMODULE self = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(&arr_ovelperfgetperformancedata), &self);
  char path[MAX_PATH] = {};
  GetModuleFileNameA(self, path, sizeof path);
  std::string folder = path;
  return folder.substr(0, folder.rfind('\\') + 1) + name;
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
