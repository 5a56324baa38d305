// Rovanta.dll: the suite's circular logger. LogDataToDisk appends one text to a named file,
// locked against other processes for each hand-over, and keeps the file under its cap.
#include <windows.h>

#include <stdint.h>
#include <string.h>

#include <new>

#include "log_rotation.h"

// Exported under its plain name through rovanta.def.
extern "C" int __stdcall LogDataToDisk(const char* fileName, const char* data, int32_t length,
                                       const char* headerMarker, int32_t mode, int32_t* status);

namespace {

bool WriteAll(HANDLE file, const char* data, size_t size) {
  while (size > 0) {
    DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file, data, chunk, &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

bool ReadAll(HANDLE file, char* buffer, size_t size) {
  while (size > 0) {
    DWORD read = 0;
    if (!ReadFile(file, buffer, static_cast<DWORD>(size), &read, nullptr) || read == 0) {
      return false;
    }
    buffer += read;
    size -= read;
  }
  return true;
}

bool MoveTo(HANDLE file, uint64_t offset) {
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) != 0;
}

// Drops the oldest lines after the header so that incoming bytes fit under the cap.
// The file is rewritten only after its whole content has been read.
DWORD MakeRoom(HANDLE file, size_t size, size_t incoming) {
  char* content = new (std::nothrow) char[size];
  if (content == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
  DWORD error = ERROR_SUCCESS;
  if (!MoveTo(file, 0) || !ReadAll(file, content, size)) {
    error = GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_READ_FAULT;
  } else {
    const size_t header = HeaderLength(content, size);
    const size_t kept = FirstKeptOffset(content, size, incoming, kLogFileCap);
    memmove(content + header, content + kept, size - kept);
    const size_t newSize = header + (size - kept);
    if (!MoveTo(file, 0) || !WriteAll(file, content, newSize) || !SetEndOfFile(file)) {
      error = GetLastError();
    }
  }
  delete[] content;
  return error;
}

// Appends under the lock; on a failed write the file is cut back to its former end, so
// that no partial line stays behind.
DWORD AppendLocked(HANDLE file, const char* data, size_t size, bool isHeader) {
  LARGE_INTEGER fileSize;
  if (!GetFileSizeEx(file, &fileSize)) return GetLastError();
  size_t current = static_cast<size_t>(fileSize.QuadPart);
  if (isHeader && current > 0) return ERROR_SUCCESS;  // another writer made the file first
  if (size > kLargestText) return ERROR_FILE_TOO_LARGE;
  if (current + size > kLogFileCap) {
    DWORD error = MakeRoom(file, current, size);
    if (error != ERROR_SUCCESS) return error;
    if (!GetFileSizeEx(file, &fileSize)) return GetLastError();
    current = static_cast<size_t>(fileSize.QuadPart);
  }
  if (!MoveTo(file, current)) return GetLastError();
  if (!WriteAll(file, data, size)) {
    DWORD error = GetLastError();
    if (MoveTo(file, current)) SetEndOfFile(file);
    return error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT;
  }
  return ERROR_SUCCESS;
}

}  // namespace

// mode: 2 appends, the only mode the suite uses; any other mode is refused.
// status receives 0 or the system error code of the failure; the result is 1 or 0.
int __stdcall LogDataToDisk(const char* fileName, const char* data, int32_t length,
                            const char* headerMarker, int32_t mode, int32_t* status) {
  DWORD error = ERROR_SUCCESS;
  if (fileName == nullptr || data == nullptr || length < 0 || mode != 2) {
    error = ERROR_INVALID_PARAMETER;
  } else {
    const size_t size = strnlen(data, static_cast<size_t>(length));
    HANDLE file = CreateFileA(fileName, GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      error = GetLastError();
    } else {
      OVERLAPPED whole = {};
      if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
        error = GetLastError();
      } else {
        error = AppendLocked(file, data, size, headerMarker != nullptr);
        UnlockFileEx(file, 0, MAXDWORD, MAXDWORD, &whole);
      }
      CloseHandle(file);
    }
  }
  if (status != nullptr) *status = static_cast<int32_t>(error);
  return error == ERROR_SUCCESS ? 1 : 0;
}
