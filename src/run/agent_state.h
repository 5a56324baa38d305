// The process-wide texts of a pass: installation, identity and the paths built from them.
// Written once early in the pass and read by every part of the agent until the process exits.
#pragma once

#include "run/bounded_text.h"

struct AgentIdentityTexts {
  char RegId[kTextSize];
  char MemberId[kTextSize];
  char SiteId[kTextSize];
  char Type[kTextSize];
};

extern char InstallPath[kTextSize];   // "InstallationPath" exactly as stored
extern char ModuleFolder[kTextSize];  // folder of the executable, no trailing backslash
extern AgentIdentityTexts AgentIdentity;
extern char TemplatePath[kTextSize];  // InstallPath + "Ardo\MonitorTemplate\DesktopMonitor.ini"
extern char ConfigPath[kTextSize];    // InstallPath + "Ardo\MonitorTemplate\config.ini"

// The registry key of the identity values (and, without WOW64, of the installation path).
extern const char kAgentRegistryKey[];
