// Storage of the process-wide texts of a pass; all start empty.
// Their meaning is described where they are declared.
#include "run/agent_state.h"

char InstallPath[kTextSize];
char ModuleFolder[kTextSize];
AgentIdentityTexts AgentIdentity;
char TemplatePath[kTextSize];
char ConfigPath[kTextSize];

const char kAgentRegistryKey[] = "SOFTWARE\\VUREZU";
