// The rolling average of processor and memory samples, kept in config.ini's [avg] section as
// twelve five-minute slots per function id.
#pragma once

#include <stdint.h>

// Puts sample (-1 empties the slot) into the current slot of the function, writes the slots
// back and sets average to the rounded mean of the slots that hold a sample. Always 1.
int UpdateRollingAverage(int32_t sample, int32_t functionId, double& average);
