// Fuzzes the log-line composer with over-long and odd values: the line always ends with its
// single line feed, never passes 4,097 characters, and starts with the clock fields.
#include <string.h>

#include "fuzz_input.h"
#include "log/log_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> f = Fields(data, size, 6);
  const LogMoment moment = {2026, 12, 11, 23, 59, 59};
  char line[kLogLineSize];
  const size_t length = ComposeLogLine(line, sizeof line, moment, f[0].c_str(), f[1].c_str(),
                                       f[2].c_str(), f[3].c_str(), f[4].c_str(), f[5].c_str());
  FUZZ_CHECK(length == strlen(line));
  FUZZ_CHECK(length >= 1 && length <= kLogLineSize - 1);
  FUZZ_CHECK(line[length - 1] == '\n');
  FUZZ_CHECK(strncmp(line, "11/12/2026 ", 11) == 0);
  char type[kLogTypeSize];
  ConvertLogType(f[2].c_str(), type, sizeof type);
  for (const char* p = type; *p; ++p)
    FUZZ_CHECK(!(*p >= 'a' && *p <= 'z') || strcmp(type, "Info") == 0);
  return 0;
}
