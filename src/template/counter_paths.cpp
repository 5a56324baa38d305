// CounterPathTable: the four counters the agent knows, by function id.
// Formatting is done here by hand: the formats come from a table, never from outside.
#include "template/counter_paths.h"

namespace {

struct CounterPathEntry {
  int FunctionId;
  const char* Format;
};

const CounterPathEntry CounterPathTable[] = {
    {1, "\\LogicalDisk(%c:)\\%% Free Space"},
    {2, "\\LogicalDisk(%c:)\\Free Megabytes"},
    {3, "\\Processor(_total)\\% Processor Time"},
    {4, "\\Memory\\Available MBytes"},
};

}  // namespace

const char* CounterPathFormat(int functionId) {
  for (const CounterPathEntry& entry : CounterPathTable) {
    if (entry.FunctionId == functionId) return entry.Format;
  }
  return "";
}

bool FormatCounterPath(char* out, size_t capacity, const char* format, char letter) {
  if (capacity == 0) return false;
  size_t used = 0;
  for (const char* p = format; *p != '\0'; ++p) {
    char c = *p;
    if (p[0] == '%' && p[1] == 'c') {
      c = letter;
      ++p;
    } else if (p[0] == '%' && p[1] == '%') {
      ++p;
    }
    if (used + 1 >= capacity) {
      out[used] = '\0';
      return false;
    }
    out[used++] = c;
  }
  out[used] = '\0';
  return true;
}
