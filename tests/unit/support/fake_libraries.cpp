// The dispatcher behind InstallFakeLibrary. Each fake library gets a module handle of its own
// that no real module can have (a small odd number).
#include "support/fake_libraries.h"

#include <windows.h>

#include "run/platform_calls.h"

namespace {

std::vector<FakeLibrary*> libraries;

HMODULE HandleOf(size_t index) {
  return reinterpret_cast<HMODULE>(0x51 + 2 * index);
}

FakeLibrary* ByHandle(HMODULE module) {
  for (size_t i = 0; i < libraries.size(); ++i) {
    if (HandleOf(i) == module) return libraries[i];
  }
  return nullptr;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

HMODULE WINAPI FakeLoadLibrary(LPCSTR path) {
  for (size_t i = 0; i < libraries.size(); ++i) {
    if (!EndsWith(path, libraries[i]->FileName)) continue;
    libraries[i]->LoadedPaths.push_back(path);
    return libraries[i]->Loads ? HandleOf(i) : nullptr;
  }
  return LoadLibraryA(path);
}

FARPROC WINAPI FakeGetProcAddress(HMODULE module, LPCSTR name) {
  FakeLibrary* library = ByHandle(module);
  if (library == nullptr) return GetProcAddress(module, name);
  if (!library->HasExport || std::string(name) != library->ExportName) return nullptr;
  return reinterpret_cast<FARPROC>(library->Export);
}

BOOL WINAPI FakeFreeLibrary(HMODULE module) {
  FakeLibrary* library = ByHandle(module);
  if (library == nullptr) return FreeLibrary(module);
  ++library->Freed;
  return TRUE;
}

}  // namespace

void InstallFakeLibrary(FakeLibrary* library) {
  for (FakeLibrary*& known : libraries) {
    if (std::string(known->FileName) == library->FileName) {
      known = library;
      library = nullptr;
      break;
    }
  }
  if (library != nullptr) libraries.push_back(library);
  Platform.LoadLibraryA = FakeLoadLibrary;
  Platform.GetProcAddress = FakeGetProcAddress;
  Platform.FreeLibrary = FakeFreeLibrary;
}
