// WriteAppLog and ReportStatus of the host build: they record their texts in memory.
// The real ones need Windows; the logic that calls them does not.
#include "host_reports.h"

#include "log/app_log.h"
#include "report/status_report.h"

std::vector<HostLogLine> HostLog;
std::vector<std::string> HostReports;

void WriteAppLog(const char* module, const char* type, const char* val1, const char* val2,
                 const char* val3) {
  HostLog.push_back({module, type, val1, val2, val3});
}

int ReportStatus(const char* message) {
  HostReports.push_back(message);
  return 1;
}
