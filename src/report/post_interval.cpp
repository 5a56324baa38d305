// CheckPostInterval: the "webpost" stamps of config.ini that keep each kind of document to
// one per four hours. The stored form stays the low 32 bits of the time, as always.
#include <stdio.h>

#include "report/post_window.h"
#include "report/status_report.h"
#include "run/agent_state.h"
#include "run/leading_number.h"
#include "run/platform_calls.h"
#include "run/system_ops.h"

int CheckPostInterval(const char* key, int applyWindow) {
  const int64_t now = Platform.Time64(nullptr);
  char configFile[kTextSize];
  FormatText(configFile, sizeof configFile, "%sArdo\\MonitorTemplate\\config.ini", InstallPath);
  char stored[kTextSize];
  ReadIniValue("webpost", key, configFile, stored);
  if (stored[0] != '\0' && applyWindow != 0 && IsWithinPostWindow(ReadLeadingInt32(stored), now)) {
    return 0;
  }
  char stamp[16];
  FormatText(stamp, sizeof stamp, "%ld", static_cast<long>(StampOf(now)));
  Platform.WritePrivateProfileStringA("webpost", key, stamp, configFile);
  return 1;
}
