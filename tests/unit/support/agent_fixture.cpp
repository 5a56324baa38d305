// AgentTest: the shared set-up of the unit tests over parts of a pass.
#include "support/agent_fixture.h"

#include <time.h>

#include <regex>

#include "collect/evaluation.h"
#include "log/log_library.h"
#include "run/agent_state.h"
#include "template/monitor_function.h"

namespace {
__time64_t clockNow;
__time64_t FixedTime(__time64_t* out) {
  if (out) *out = clockNow;
  return clockNow;
}
}  // namespace

void AgentTest::SetUp() {
  ResetAgentState();
  CaptureLog();
  CopyText(InstallPath, (folder.Path() + "\\").c_str());
  CopyText(ModuleFolder, folder.Path().c_str());
  CopyText(AgentIdentity.RegId, "12345");
  CopyText(AgentIdentity.MemberId, "m-77");
  CopyText(AgentIdentity.SiteId, "s-9");
  CopyText(AgentIdentity.Type, "1");
  CreateDirectoryA(folder.Join("Ardo").c_str(), nullptr);
  CreateDirectoryA(folder.Join("Ardo\\MonitorTemplate").c_str(), nullptr);
  CopyText(TemplatePath, folder.Join("Ardo\\MonitorTemplate\\DesktopMonitor.ini").c_str());
  CopyText(ConfigPath, ConfigFile().c_str());
  MonitorFunctions.clear();
  StateUnchanged = 1;
  web.Accept();
  SetClock(1331751071);
}

void AgentTest::TearDown() {
  LogDataToDisk = nullptr;
}

void AgentTest::SetClock(__time64_t now) {
  clockNow = now;
  Platform.Time64 = FixedTime;
  const struct tm* local = _localtime64(&clockNow);
  FixLocalTime(MakeTime(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday, local->tm_hour,
                        local->tm_min, local->tm_sec));
}

__time64_t AgentTest::AtLocalMinute(int minute) {
  __time64_t moment = 1331751071;
  const struct tm* local = _localtime64(&moment);
  return moment + (minute - local->tm_min) * 60;
}

std::string AgentTest::ConfigValue(const char* section, const char* key) const {
  char value[256] = {};
  GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, ConfigFile().c_str());
  return value;
}

void AgentTest::SetConfigValue(const char* section, const char* key, const char* value) const {
  WritePrivateProfileStringA(section, key, value, ConfigFile().c_str());
}

std::vector<std::string> AgentTest::Reports() const {
  std::vector<std::string> messages;
  std::regex errdesc("<errdesc>(.*)</errdesc>");
  for (const std::string& document : web.Documents) {
    std::smatch match;
    if (std::regex_search(document, match, errdesc)) messages.push_back(match[1]);
  }
  return messages;
}

std::vector<LoggedLine> AgentTest::LinesOf(std::initializer_list<const char*> modules) const {
  std::vector<LoggedLine> lines;
  for (const LoggedLine& line : log) {
    for (const char* module : modules) {
      if (line.Module == module) lines.push_back(line);
    }
  }
  return lines;
}
