// The benchmark's probes: one step of a pass run alone, so that its cost can be told apart.
// pass_probe                       loads its libraries (crypt32, oleaut32) and ends
// pass_probe roots                 also opens the machine's trusted root store, as TLS does
// pass_probe post <dll> <url> <document file>   posts the document once with WebPostData
// pass_probe sleep <ms> <count> <out file>   pauses count times for ms milliseconds, as a
//                                  pass pauses, and writes how long that took in milliseconds
#include <windows.h>
#include <oleauto.h>
#include <wincrypt.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

typedef int(__stdcall* WebPostDataFn)(VARIANT, VARIANT, VARIANT, VARIANT, VARIANT, VARIANT, VARIANT,
                                      VARIANT*, VARIANT*, VARIANT*);

namespace {

bool OpenTrustedRoots() {
  HCERTSTORE roots =
      CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
  if (roots == nullptr) return false;
  CertCloseStore(roots, 0);
  return true;
}

std::string ReadFileText(const char* path) {
  std::string text;
  FILE* file = fopen(path, "rb");
  if (file == nullptr) return text;
  char chunk[4096];
  size_t read;
  while ((read = fread(chunk, 1, sizeof chunk, file)) > 0)
    text.append(chunk, read);
  fclose(file);
  return text;
}

// A VT_BSTR VARIANT of an ANSI text, converted as the agent converts its texts.
VARIANT Text(const std::string& text) {
  VARIANT v;
  VariantInit(&v);
  const int units =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocStringLen(nullptr, static_cast<UINT>(units));
  if (units > 0) {
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), v.bstrVal, units);
  }
  return v;
}

// True when the library answered with a status reply and no error code.
bool Post(const char* library, const char* url, const char* documentFile) {
  HMODULE module = LoadLibraryA(library);
  if (module == nullptr) return false;
  WebPostDataFn post = reinterpret_cast<WebPostDataFn>(
      reinterpret_cast<void*>(GetProcAddress(module, "WebPostData")));
  bool accepted = false;
  if (post != nullptr) {
    VARIANT inputs[7] = {
        Text(url), Text(ReadFileText(documentFile)), Text("N"), Text(""), Text(""), Text(""),
        Text("")};
    VARIANT replies[3];
    for (VARIANT& reply : replies)
      VariantInit(&reply);
    post(inputs[0], inputs[1], inputs[2], inputs[3], inputs[4], inputs[5], inputs[6], &replies[0],
         &replies[1], &replies[2]);
    accepted = replies[0].vt == VT_BSTR && replies[1].vt == VT_EMPTY;
    for (VARIANT& value : inputs)
      VariantClear(&value);
    for (VARIANT& reply : replies)
      VariantClear(&reply);
  }
  FreeLibrary(module);
  return accepted;
}

bool TimePauses(DWORD milliseconds, int count, const char* outFile) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < count; ++i)
    Sleep(milliseconds);
  QueryPerformanceCounter(&end);
  FILE* out = fopen(outFile, "w");
  if (out == nullptr) return false;
  fprintf(out, "%.3f\n",
          static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 /
              static_cast<double>(frequency.QuadPart));
  return fclose(out) == 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc == 1) return 0;
  if (__argc == 2 && strcmp(__argv[1], "roots") == 0) return OpenTrustedRoots() ? 0 : 1;
  if (__argc == 5 && strcmp(__argv[1], "sleep") == 0) {
    return TimePauses(static_cast<DWORD>(atoi(__argv[2])), atoi(__argv[3]), __argv[4]) ? 0 : 1;
  }
  if (__argc == 5 && strcmp(__argv[1], "post") == 0) {
    return Post(__argv[2], __argv[3], __argv[4]) ? 0 : 1;
  }
  return 2;
}
