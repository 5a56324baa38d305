// Fuzzes the [avg] slot text: any stored text reads into twelve slots; writing them back and
// reading again gives the same slots; the written text always fits a profile value.
#include <string.h>

#include "collect/rolling_slots.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string stored = Fields(data, size, 1)[0];
  if (stored.size() > 254) stored.resize(254);  // what a profile read can give
  float slots[kSlotCount];
  ParseSlotText(stored.c_str(), slots);
  char text[256];
  FormatSlotText(slots, text, sizeof text);
  FUZZ_CHECK(strlen(text) <= 254);
  float again[kSlotCount];
  ParseSlotText(text, again);
  for (int i = 0; i < kSlotCount; ++i)
    FUZZ_CHECK(slots[i] == again[i]);
  const double average = SlotAverage(slots, 7);
  const double rounded = RoundAverage(average);
  // Half up, then toward zero: a whole number at most half below the mean, and for negative
  // means up to one and a half above it.
  FUZZ_CHECK(rounded == static_cast<double>(static_cast<long long>(rounded)));
  FUZZ_CHECK(rounded - average >= -0.5 && rounded - average <= 1.5);
  return 0;
}
