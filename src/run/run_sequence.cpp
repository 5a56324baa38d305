// The run sequence: installation lookup, logger, single-instance guard, identity checks,
// and the teardown in its fixed order. Every exception of the pass ends in the teardown.
#include "run/run_sequence.h"

#include <string.h>

#include "collect/evaluation.h"
#include "collect/provider.h"
#include "collect/rolling_average.h"
#include "log/app_log.h"
#include "log/log_library.h"
#include "report/monitor_alert.h"
#include "report/status_report.h"
#include "run/agent_state.h"
#include "run/platform_calls.h"
#include "run/system_ops.h"
#include "template/file_md5.h"
#include "template/load_monitor_functions.h"

const char kInstanceMutexName[] = "GlobalQuintrel123";

namespace {

// What the pass holds until its teardown.
struct PassResources {
  HMODULE LoggerLibrary = nullptr;
  bool LoggerReady = true;
  HMODULE ProviderLibrary = nullptr;
  HANDLE InstanceMutex = nullptr;
};

// The identity values in the order they are checked, with the message for a missing one.
struct IdentityField {
  const char* ValueName;
  char* Text;
  const char* MissingMessage;
};

// Reads and checks the four identity values; false when the pass must end.
bool ReadAgentIdentity() {
  const IdentityField fields[] = {
      {"REGID", AgentIdentity.RegId, "Missing REG ID"},
      {"MEMBERID", AgentIdentity.MemberId, "Missing member ID"},
      {"SITEID", AgentIdentity.SiteId, "Missing SITE ID"},
      {"TYPE", AgentIdentity.Type, "Missing TYPE "},
  };
  for (const IdentityField& field : fields) {
    if (!ReadAgentRegistryValue(kAgentRegistryKey, field.ValueName, field.Text)) {
      WriteAppLog("WM", "Error", "", "korvpath", field.MissingMessage);
      ReportStatus(field.MissingMessage);
      return false;
    }
  }
  for (const IdentityField& field : fields) {
    if (field.Text[0] == '\0') {
      WriteAppLog("WM", "Error", "", "korvpath", "Invalid KORV initialize ID ");
      ReportStatus("Invalid KORV initialize ID ");
      return false;
    }
  }
  return true;
}

// Starts the template tool, hidden and not waited for, after the template was found altered.
void RegenerateTemplate() {
  char toolPath[kTextSize];
  FormatText(toolPath, sizeof toolPath, "%s\\ardo\\Stavrik.exe", InstallPath);
  WriteAppLog("WM", "Error", "", "Start", "Spawning Stavrik.exe");
  Platform.ShellExecuteA(nullptr, nullptr, toolPath, "", nullptr, SW_HIDE);
  WriteAppLog("WM", "Error", "", "End", "Spawning Stavrik.exe");
  // The samples of the current window may be of an altered template: empty them.
  double scratch = 0.0;
  UpdateRollingAverage(-1, 3, scratch);
  UpdateRollingAverage(-1, 4, scratch);
}

// True when the template is present and has the checksum recorded in the registry.
bool VerifyTemplate() {
  Platform.Sleep(10);
  if (!FileExists(TemplatePath)) {
    WriteAppLog("WM", "Error", "", "", "DesktopMonitor.ini file missing");
    ReportStatus("DesktopMonitor.ini file missing");
    return false;
  }
  char expected[kTextSize] = {};
  if (!ReadAgentRegistryValue(kAgentRegistryKey, "performance", expected)) {
    WriteAppLog("WM", "Error", "", "korvpath", "Missing performance key");
    ReportStatus("DesktopMonitor.ini is tampered[md5 mismatch]");
    RegenerateTemplate();
    return false;
  }
  char checksum[kTextSize];
  ComputeFileMd5(TemplatePath, checksum, sizeof checksum);
  if (strcmp(checksum, expected) != 0) {
    WriteAppLog("WM", "Error", "", "", "DesktopMonitor.ini file corrupted[m]");
    ReportStatus("DesktopMonitor.ini is tampered[md5 mismatch]");
    RegenerateTemplate();
    return false;
  }
  WriteAppLog("InitDLL", "Info", "", "CheckSum", "Matched");
  return true;
}

// The steps after the single-instance guard; returning ends the pass.
void RunGuardedSteps(PassResources& pass) {
  WriteAppLog("----", "----", "Application Started", "----", "----");
  if (!ReadAgentIdentity()) return;
  if (pass.LoggerLibrary == nullptr || !pass.LoggerReady) {
    ReportStatus("Ketrova.dll Missing");  // no line: the log cannot be written
    return;
  }
  if (!LoadPerformanceProvider(&pass.ProviderLibrary)) return;
  FormatText(TemplatePath, sizeof TemplatePath, "%sArdo\\MonitorTemplate\\DesktopMonitor.ini",
             InstallPath);
  FormatText(ConfigPath, sizeof ConfigPath, "%sArdo\\MonitorTemplate\\config.ini", InstallPath);
  if (!VerifyTemplate()) return;
  if (!LoadMonitorFunctions()) return;
  if (CollectAndEvaluate()) {
    PostMonitorAlert();
  } else {
    WriteAppLog("WM", "Error", "Query failed", "Error code=", "");
    ReportStatus("Query failed. No Data Retrieved.");
  }
}

}  // namespace

int RunPass() {
  PassResources pass;
  try {
    LookupInstallPath();
    if (InstallPath[0] == '\0') return 0;
    if (!LoadLogLibrary(&pass.LoggerLibrary)) pass.LoggerReady = false;

    pass.InstanceMutex = Platform.CreateMutexA(nullptr, TRUE, kInstanceMutexName);
    if (GetLastError() == ERROR_ALREADY_EXISTS || pass.InstanceMutex == nullptr) {
      WriteAppLog("WM", "Error", "", "", "Another instance is running");
    } else {
      RunGuardedSteps(pass);
    }
  } catch (...) {
    WriteAppLog("WM", "Error", "", "", "Terminated unexpectedly");
  }

  UnloadPerformanceProvider(&pass.ProviderLibrary);
  WriteAppLog("----", "----", "Application Ended", "----", "----");
  UnloadLogLibrary(&pass.LoggerLibrary);
  if (pass.InstanceMutex != nullptr) ReleaseMutex(pass.InstanceMutex);
  return 0;
}
