// Delivery of the server documents: tries, archive copy and the shared time texts.
// The archive file is created exclusively, so an existing copy is never overwritten.
#include "report/document_delivery.h"

#include <string.h>

#include "log/app_log.h"
#include "report/web_post.h"
#include "run/agent_state.h"
#include "run/platform_calls.h"
#include "run/system_ops.h"

namespace {

constexpr int kTries = 3;
constexpr int kMostArchiveNames = 1000;
const char kModule[] = "Start_web_post";

// Creates a new file at path; INVALID_HANDLE_VALUE with *error when it cannot.
HANDLE CreateNewFile(const char* path, DWORD* error) {
  HANDLE file = Platform.CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
  *error = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
  return file;
}

bool WriteWhole(HANDLE file, const char* text) {
  DWORD length = static_cast<DWORD>(strlen(text));
  DWORD written = 0;
  return Platform.WriteFile(file, text, length, &written, nullptr) && written == length &&
         FlushFileBuffers(file);
}

void ArchiveDocument(const char* document, const char* stem, const DocumentClock& clock) {
  char folder[kTextSize];
  FormatText(folder, sizeof folder, "%s\\ZIVPostLogs", InstallPath);
  if (!FileExists(folder)) CreateFolderPath(folder);

  char fileDate[kTextSize];
  FormatText(fileDate, sizeof fileDate, "%02d%02d%04d", clock.Moment.wDay, clock.Moment.wMonth,
             clock.Moment.wYear);
  char fileTime[kTextSize] = {};
  GetTimeFormatA(LOCALE_SYSTEM_DEFAULT, 0, &clock.Moment, "hh''mm''ss'", fileTime, 255);

  char path[kTextSize] = {};
  bool named = false;
  HANDLE file = INVALID_HANDLE_VALUE;
  DWORD error = ERROR_FILE_EXISTS;
  for (int n = 0; n < kMostArchiveNames && error == ERROR_FILE_EXISTS; ++n) {
    char suffix[16] = "";
    if (n > 0) FormatText(suffix, sizeof suffix, "_%d", n);
    named =
        FormatText(path, sizeof path, "%s%s%s%s%s.xml", folder, stem, fileDate, fileTime, suffix);
    if (!named) break;  // a cut name could take another document's place
    file = CreateNewFile(path, &error);
  }
  WriteAppLog(kModule, "Info", "web Post", "Filename=", path);
  if (file == INVALID_HANDLE_VALUE) {
    char reason[64];
    FormatText(reason, sizeof reason, named ? "error %lu" : "path too long", error);
    WriteAppLog(kModule, "Error", "web Post", "Archive not written", reason);
    return;
  }
  const bool written = WriteWhole(file, document);
  CloseHandle(file);
  if (!written) {
    DeleteFileA(path);
    WriteAppLog(kModule, "Error", "web Post", "Archive not written", "write failed");
    return;
  }
  WriteAppLog(kModule, "Info", "web Post", "", "Success");
}

}  // namespace

void ReadDocumentClock(DocumentClock* clock) {
  Platform.GetLocalTime(&clock->Moment);
  FormatText(clock->Date, sizeof clock->Date, "%02d/%02d/%04d", clock->Moment.wMonth,
             clock->Moment.wDay, clock->Moment.wYear);
  clock->Time[0] = '\0';
  GetTimeFormatA(LOCALE_SYSTEM_DEFAULT, 0, &clock->Moment, "HH':'mm':'ss'", clock->Time, 255);
}

void DeliverDocument(const char* document, int kind, const char* stem, const DocumentClock& clock) {
  try {
    for (int attempt = 0; attempt < kTries; ++attempt) {
      if (PostToServer(document, kind)) return;
    }
  } catch (...) {
    // A document that was built is never dropped: the archive keeps it all the same.
    WriteAppLog(kModule, "Info", "web Post", "unexpected termination", "Failed");
  }
  ArchiveDocument(document, stem, clock);
}
