// Reading the template at TemplatePath into MonitorFunctions, once per pass.
// The template's integrity has been checked before.
#pragma once

// False when the pass must end (no template identity, no version, no function); the log
// line and status report are already made then.
bool LoadMonitorFunctions();
