// Reading, writing and averaging the [avg] slots of config.ini.
#include "collect/rolling_slots.h"

#include <math.h>

#include "run/bounded_text.h"
#include "run/leading_number.h"

namespace {
constexpr size_t kLongestItem = 11;
constexpr int32_t kLowestSlotValue = -9999999;
constexpr int32_t kHighestSlotValue = 99999992;  // a float holds it exactly
}  // namespace

float SlotValue(int32_t sample) {
  if (sample < kLowestSlotValue) sample = kLowestSlotValue;
  if (sample > kHighestSlotValue) sample = kHighestSlotValue;
  return static_cast<float>(sample);
}

void ParseSlotText(const char* text, float slots[kSlotCount]) {
  for (int i = 0; i < kSlotCount; ++i)
    slots[i] = -1.0f;
  const char* item = text;
  for (int slot = 0; slot < kSlotCount && *item != '\0'; ++slot) {
    size_t length = 0;
    while (item[length] != '\0' && item[length] != ',')
      ++length;
    if (length > kLongestItem) return;
    if (length > 0) {
      char copy[kLongestItem + 1];
      CopyTextPrefix(copy, sizeof copy, item, length);
      slots[slot] = SlotValue(ReadLeadingInt32(copy));
    }
    item += length;
    if (*item == ',') ++item;
  }
}

void FormatSlotText(const float slots[kSlotCount], char* out, size_t capacity) {
  CopyText(out, capacity, "");
  for (int i = 0; i < kSlotCount; ++i) {
    AppendFormat(out, capacity, "%.02Lf,", static_cast<long double>(slots[i]));
  }
}

double SlotAverage(const float slots[kSlotCount], int32_t sample) {
  double sum = 0.0;
  int count = 0;
  for (int i = 0; i < kSlotCount; ++i) {
    if (slots[i] == -1.0f) continue;
    sum += slots[i];
    ++count;
  }
  return count > 0 ? sum / count : sample;
}

// Adding 0.0 turns the -0 of averages just below zero into 0.
double RoundAverage(double average) {
  return trunc(average + 0.5) + 0.0;
}

int SlotOfMinute(int minute) {
  const int slot = minute / 5;
  return slot < 0 ? 0 : (slot >= kSlotCount ? kSlotCount - 1 : slot);
}
