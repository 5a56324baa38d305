// Storage of the process-wide list of monitored functions and of the template's identity.
// Filled once per pass by the template reader; empty at process start.
#include "template/monitor_function.h"

std::vector<MonitorFunction> MonitorFunctions;
char TemplateId[kTextSize];
char TemplateVersion[kTextSize];
