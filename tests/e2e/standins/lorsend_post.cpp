// Test driver: calls WebPostData of a web-post library once and writes the three replies.
// Usage: lorsend_post <dll> <out file> <url> <document file (UTF-8)> <mode> <proxy ip>
//        <proxy port> <proxy user> <proxy password>
// Each output line: reply name, VARIANT type, the reply text as UTF-8 in hexadecimal.
#include <windows.h>
#include <oleauto.h>
#include <shellapi.h>

#include <stdio.h>

#include <string>

typedef int(__stdcall* WebPostDataFn)(VARIANT, VARIANT, VARIANT, VARIANT, VARIANT, VARIANT, VARIANT,
                                      VARIANT*, VARIANT*, VARIANT*);

static VARIANT Text(const std::wstring& text) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return v;
}

static std::wstring ReadUtf8File(const wchar_t* path) {
  FILE* file = _wfopen(path, L"rb");
  if (file == nullptr) return std::wstring();
  std::string bytes;
  char chunk[4096];
  size_t read;
  while ((read = fread(chunk, 1, sizeof chunk, file)) > 0)
    bytes.append(chunk, read);
  fclose(file);
  int size =
      MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(size), L'\0');
  if (size > 0) {
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], size);
  }
  return text;
}

static void WriteReply(FILE* out, const char* name, const VARIANT& v) {
  fprintf(out, "%s %d ", name, v.vt);
  if (v.vt == VT_BSTR && v.bstrVal != nullptr) {
    int units = static_cast<int>(SysStringLen(v.bstrVal));
    int size = WideCharToMultiByte(CP_UTF8, 0, v.bstrVal, units, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    if (size > 0) {
      WideCharToMultiByte(CP_UTF8, 0, v.bstrVal, units, &utf8[0], size, nullptr, nullptr);
    }
    for (unsigned char c : utf8)
      fprintf(out, "%02x", c);
  }
  fprintf(out, "\n");
}

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc != 10) return 2;
  HMODULE library = LoadLibraryW(argv[1]);
  if (library == nullptr) return 3;
  WebPostDataFn post = reinterpret_cast<WebPostDataFn>(
      reinterpret_cast<void*>(GetProcAddress(library, "WebPostData")));
  if (post == nullptr) return 4;
  VARIANT in[7] = {Text(argv[3]), Text(ReadUtf8File(argv[4])),
                   Text(argv[5]), Text(argv[6]),
                   Text(argv[7]), Text(argv[8]),
                   Text(argv[9])};
  VARIANT replies[3];
  for (VARIANT& reply : replies)
    VariantInit(&reply);
  post(in[0], in[1], in[2], in[3], in[4], in[5], in[6], &replies[0], &replies[1], &replies[2]);
  FILE* out = _wfopen(argv[2], L"w");
  if (out == nullptr) return 5;
  WriteReply(out, "status", replies[0]);
  WriteReply(out, "errorcode", replies[1]);
  WriteReply(out, "errordesc", replies[2]);
  fclose(out);
  for (VARIANT& v : in)
    VariantClear(&v);
  for (VARIANT& v : replies)
    VariantClear(&v);
  FreeLibrary(library);
  return 0;
}
