// The files a stand-in library reads and writes lie beside the library itself: the path of
// such a file, found from the library's own module handle.
#pragma once

#include <windows.h>

#include <string>

// The path of name in the folder of the module that holds address.
inline std::string BesideModuleOf(const void* address, const char* name) {
  HMODULE self = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      static_cast<LPCSTR>(address), &self);
  char path[MAX_PATH] = {};
  GetModuleFileNameA(self, path, sizeof path);
  std::string folder = path;
  return folder.substr(0, folder.rfind('\\') + 1) + name;
}
