// WriteAppLog: composes the log location and line and hands them to the circular logger.
// The header is handed over before the line whenever the log file does not exist yet.
#include "log/app_log.h"

#include <stdint.h>
#include <string.h>

#include "log/log_library.h"
#include "log/log_line.h"
#include "run/agent_state.h"
#include "run/platform_calls.h"
#include "run/system_ops.h"

void WriteAppLog(const char* module, const char* type, const char* val1, const char* val2,
                 const char* val3) {
  int32_t status = 0;
  char folder[kLogPathSize];
  if (!ComposeLogFolder(folder, sizeof folder, InstallPath)) return;
  if (!FileExists(folder)) CreateFolderPath(folder);

  SYSTEMTIME now;
  Platform.GetLocalTime(&now);
  char clockText[kTextSize] = {};
  GetTimeFormatA(LOCALE_SYSTEM_DEFAULT, 0, &now, "hh':'mm':'ss tt", clockText, 255);
  char fileName[kLogPathSize];
  if (!ComposeLogFileName(fileName, sizeof fileName, folder)) return;

  if (!FileExists(fileName) && LogDataToDisk != nullptr) {
    LogDataToDisk(fileName, kLogHeaderLine, static_cast<int32_t>(strlen(kLogHeaderLine)),
                  kLogHeaderMarker, 2, &status);
  }

  const LogMoment moment = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
  char line[kLogLineSize];
  size_t length =
      ComposeLogLine(line, sizeof line, moment, clockText, module, type, val1, val2, val3);
  if (LogDataToDisk != nullptr) {
    LogDataToDisk(fileName, line, static_cast<int32_t>(length), nullptr, 2, &status);
  }
}
