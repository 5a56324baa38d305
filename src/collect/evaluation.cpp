// CollectAndEvaluate and EvaluateFunctionResult: result i belongs to record i. A record
// whose counter could not be read is "NOT AVAILABLE"; the others are tested against their
// threshold, processor and memory through the rolling average.
#include "collect/evaluation.h"

#include <math.h>

#include "collect/condition.h"
#include "collect/provider.h"
#include "collect/rolling_average.h"
#include "log/app_log.h"
#include "run/agent_state.h"
#include "run/leading_number.h"
#include "run/platform_calls.h"
#include "run/system_ops.h"
#include "template/monitor_function.h"

int StateUnchanged = 1;

int StoreFunctionState(int state, const char* counterPath) {
  const char* text = state == 0 ? "0" : (state == 1 ? "1" : "2");
  char stored[kTextSize];
  ReadIniValue(counterPath, "Error", ConfigPath, stored);
  if (stored[0] != '\0' && EqualNoCase(stored, text)) return 0;
  Platform.WritePrivateProfileStringA(counterPath, "Error", text, ConfigPath);
  return 1;
}

namespace {

// The provider's value as the whole-number sample of the rolling average, cut toward zero
// and held within 32 bits.
int32_t WholeSample(const char* valueText) {
  const double value = trunc(ReadLeadingDouble(valueText));
  if (!(value > -2147483648.0)) return -2147483647 - 1;  // NaN too
  if (value > 2147483647.0) return 2147483647;
  return static_cast<int32_t>(value);
}

void MarkNotAvailable(MonitorFunction& record, const char* statusText) {
  record.Value = ReadLeadingDouble(statusText);
  CopyText(record.Status, "NOT AVAILABLE");
  if (StoreFunctionState(2, record.CounterPath)) StateUnchanged = 0;
  WriteAppLog("Getval", "Info", record.CounterPath, "", "NOT AVAILABLE");
}

void EvaluateFunctionResult(size_t i, const char* statusText, const ProviderResult& result) {
  MonitorFunction& record = MonitorFunctions.at(i);
  char valueText[kTextSize];
  // A status other than "0", and a "0" without a value text, mean the counter was not read.
  if (!EqualNoCase(statusText, "0") ||
      !ReadProviderValue(result, static_cast<long>(i), valueText, sizeof valueText)) {
    MarkNotAvailable(record, statusText);
    return;
  }
  if (record.FunctionId <= 2) {
    record.Value = ReadLeadingDouble(valueText);
  } else {
    UpdateRollingAverage(WholeSample(valueText), record.FunctionId, record.Value);
  }
  const int met = CheckCondition(record.Condition, record.Value, record.Threshold);
  WriteAppLog("Getval", "Info", "", "Status", met ? "Error" : "Success");
  CopyText(record.Status, met ? "ERROR" : "SUCCESS");
  if (StoreFunctionState(met ? 0 : 1, record.CounterPath)) StateUnchanged = 0;
  WriteAppLog("InitDLL", "Info", record.CounterPath, "present value", valueText);
  Platform.Sleep(40);
}

}  // namespace

int CollectAndEvaluate() {
  ProviderResult result;
  if (!QueryPerformanceData(&result)) return 0;
  try {
    long rounds = ProviderRounds(result);
    const long records = static_cast<long>(MonitorFunctions.size());
    if (rounds > records) {
      // More results than records: the extra ones belong to no record and are left out.
      char counts[64];
      FormatText(counts, sizeof counts, "%ld results for %ld records", rounds, records);
      WriteAppLog("Getval", "Error", "Query data", counts, "extra results ignored");
      rounds = records;
    }
    for (long i = 0; i < rounds; ++i) {
      char statusText[kTextSize];
      ReadProviderStatus(result, i, statusText, sizeof statusText);  // "" when not a text
      EvaluateFunctionResult(static_cast<size_t>(i), statusText, result);
    }
  } catch (...) {
    ReleaseProviderResult(&result);
    throw;
  }
  ReleaseProviderResult(&result);
  return 1;
}
