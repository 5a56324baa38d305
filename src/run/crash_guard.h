// The last resort of a pass: a fault that no handler of the pass can catch (an access
// violation inside a companion library) still ends the process with exit code 0.
#pragma once

// Installs the process's unhandled-exception filter.
void InstallCrashGuard();
