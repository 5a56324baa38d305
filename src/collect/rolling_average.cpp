// UpdateRollingAverage over config.ini: read the slots, replace the current one, pause, write
// the twelve back, and log the rounded average of a real sample.
#include "collect/rolling_average.h"

#include <time.h>

#include "collect/rolling_slots.h"
#include "log/app_log.h"
#include "run/agent_state.h"
#include "run/platform_calls.h"
#include "run/system_ops.h"

int UpdateRollingAverage(int32_t sample, int32_t functionId, double& average) {
  char key[16];
  FormatText(key, sizeof key, "%ld", static_cast<long>(functionId));
  char stored[kTextSize];
  ReadIniValue("avg", key, ConfigPath, stored);
  float slots[kSlotCount];
  ParseSlotText(stored, slots);

  __time64_t now = Platform.Time64(nullptr);
  const struct tm* local = _localtime64(&now);
  slots[SlotOfMinute(local != nullptr ? local->tm_min : 0)] = SlotValue(sample);
  Platform.Sleep(10);

  char text[kTextSize];
  FormatSlotText(slots, text, sizeof text);
  const double mean = SlotAverage(slots, sample);
  Platform.WritePrivateProfileStringA("avg", key, text, ConfigPath);
  average = RoundAverage(mean);
  if (sample != -1) {
    char shown[32];
    FormatText(shown, sizeof shown, "%.0f", average);
    WriteAppLog("GetVal", "Info", "avg", "=", shown);
  }
  return 1;
}
