// FormatDecimal by integer arithmetic, so that no locale setting of the host process can
// put a comma into a value; and the busy share of the processor.
#include "value_text.h"

#include <math.h>

#include "run/bounded_text.h"

void FormatDecimal(double value, int decimals, char* out, size_t capacity) {
  if (!isfinite(value)) value = 0.0;
  if (decimals < 0) decimals = 0;
  if (decimals > 9) decimals = 9;
  uint64_t scale = 1;
  for (int i = 0; i < decimals; ++i)
    scale *= 10;
  const bool negative = value < 0;
  const double magnitude = fabs(value) * static_cast<double>(scale) + 0.5;
  const uint64_t scaled = magnitude < 1.8e19 ? static_cast<uint64_t>(magnitude) : UINT64_MAX;
  const uint64_t whole = scaled / scale;
  const uint64_t fraction = scaled % scale;
  FormatText(out, capacity, "%s%llu", negative && scaled != 0 ? "-" : "",
             static_cast<unsigned long long>(whole));
  if (decimals > 0) {
    AppendFormat(out, capacity, ".%0*llu", decimals, static_cast<unsigned long long>(fraction));
  }
}

double BusyPercent(uint64_t idleDelta, uint64_t kernelDelta, uint64_t userDelta) {
  const uint64_t total = kernelDelta + userDelta;
  if (total == 0 || idleDelta >= total) return 0.0;
  const double busy = static_cast<double>(total - idleDelta) * 100.0 / static_cast<double>(total);
  return busy > 100.0 ? 100.0 : busy;
}
