// Fuzzes the template reading over an in-memory profile: any template text gives records
// whose texts are terminated and whose counter paths come from the table, with a number of
// reads that grows with the template, not with its declared counts.
#include <string.h>

#include "fuzz_input.h"
#include "support/memory_template.h"
#include "template/monitor_function.h"
#include "template/template_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string ini(reinterpret_cast<const char*>(data), size);
  const char system = size > 0 ? static_cast<char>('A' + data[0] % 26) : 'C';
  MonitorFunctions.clear();
  ReadMonitorFunctions(
      MemoryTemplate(ini, system, {{'A', false}, {'C', true}, {'D', true}, {system, true}}));
  for (const MonitorFunction& r : MonitorFunctions) {
    FUZZ_CHECK(memchr(r.Instance, '\0', sizeof r.Instance) != nullptr);
    FUZZ_CHECK(memchr(r.Condition, '\0', sizeof r.Condition) != nullptr);
    FUZZ_CHECK(memchr(r.CounterPath, '\0', sizeof r.CounterPath) != nullptr);
    FUZZ_CHECK(r.FunctionId != 0 && r.ScriptId != 0);
    const bool disk = r.FunctionId == 1 || r.FunctionId == 2;
    FUZZ_CHECK(disk ? strncmp(r.CounterPath, "\\LogicalDisk(", 13) == 0
                    : strcmp(r.Instance, "_Total") == 0);
  }
  // Every read is of a key that some section could hold: at most a few dozen per line.
  FUZZ_CHECK(MemoryTemplateReads() <= 64 + 64 * static_cast<int>(size));
  return 0;
}
