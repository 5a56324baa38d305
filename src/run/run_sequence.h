// One monitoring pass, from the lookup of the installation to the teardown.
// The entry point calls it once; it always returns 0, the program's exit code.
#pragma once

int RunPass();

// Name of the single-instance mutex (in the session's own namespace).
extern const char kInstanceMutexName[];
