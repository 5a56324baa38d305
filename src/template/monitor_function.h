// The monitored functions read from the template: one plain record per counter instance,
// the process-wide list of them in template order, and the template's identity texts.
#pragma once

#include <stdint.h>

#include <vector>

#include "run/bounded_text.h"

// The text fields of a record hold at most 254 characters.
constexpr size_t kRecordTextSize = 255;

struct MonitorFunction {
  int32_t FunctionId = 0;
  int32_t ScriptId = 0;
  double Threshold = 0.0;
  double Value = -1.0;  // -1 until sampled
  char Instance[kRecordTextSize] = {};
  uint8_t IsOsDrive = 0;
  char Status[kRecordTextSize] = {};  // "" until evaluated
  char CounterPath[kRecordTextSize] = {};
  char Condition[kRecordTextSize] = {};
};

// Records addressed by position: element i of the provider request belongs to record i.
extern std::vector<MonitorFunction> MonitorFunctions;
extern char TemplateId[kTextSize];
extern char TemplateVersion[kTextSize];
