// Writing and deleting KorvMobile.ini: the whole file at once, created with an access list of
// its own rather than the one the installation folder hands down.
#include "proxy_settings.h"

#include <sddl.h>
#include <string.h>

#include "run/bounded_text.h"

namespace {

// Full access for SYSTEM and the Administrators, nothing inherited from the folder.
const char kOwnersOnly[] = "D:P(A;;FA;;;SY)(A;;FA;;;BA)";

bool IsStorableValue(const char* value) {
  return strlen(value) < kTextSize && strpbrk(value, "\r\n") == nullptr;
}

DWORD WriteWholeFile(const char* file, const char* content) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(kOwnersOnly, SDDL_REVISION_1,
                                                            &descriptor, nullptr))
    return GetLastError();
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
  HANDLE handle =
      CreateFileA(file, GENERIC_WRITE, 0, &attributes, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD error = ERROR_SUCCESS;
  if (handle == INVALID_HANDLE_VALUE) {
    error = GetLastError();
  } else {
    DWORD length = static_cast<DWORD>(strlen(content));
    DWORD written = 0;
    if (!WriteFile(handle, content, length, &written, nullptr))
      error = GetLastError();
    else if (written != length)
      error = ERROR_WRITE_FAULT;
    CloseHandle(handle);
    if (error != ERROR_SUCCESS) DeleteFileA(file);
  }
  LocalFree(descriptor);
  return error;
}

}  // namespace

DWORD WriteProxySettings(const char* file, const char* ip, const char* port, const char* userName,
                         const char* password) {
  const char* values[] = {ip, port, userName, password};
  for (const char* value : values)
    if (!IsStorableValue(value)) return ERROR_INVALID_PARAMETER;
  char content[8 * kTextSize];
  if (!FormatText(content, sizeof content,
                  "[ProxySettings]\r\nProxyIP=%s\r\nProxyPort=%s\r\nProxyUserName=%s\r\n"
                  "ProxyPassword=%s\r\n",
                  ip, port, userName, password))
    return ERROR_INVALID_PARAMETER;
  // A new file gets the access list above; an existing one would keep its own.
  DWORD error = RemoveProxySettings(file);
  if (error != ERROR_SUCCESS) return error;
  return WriteWholeFile(file, content);
}

DWORD RemoveProxySettings(const char* file) {
  if (DeleteFileA(file)) return ERROR_SUCCESS;
  DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
}
