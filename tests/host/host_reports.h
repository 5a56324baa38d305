// What the template reader logged and reported in a host build: the log and the status
// report are recorded in memory there instead of reaching a logger and a server.
#pragma once

#include <string>
#include <vector>

struct HostLogLine {
  std::string Module, Type, Val1, Val2, Val3;
};

extern std::vector<HostLogLine> HostLog;
extern std::vector<std::string> HostReports;
