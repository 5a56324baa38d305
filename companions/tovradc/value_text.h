// The provider's value texts and the processor-time arithmetic. Free of system calls and of
// the C library's locale: the decimal separator is always a point.
#pragma once

#include <stddef.h>
#include <stdint.h>

// value with the given number of decimals (rounded half away from zero), e.g. 43.271000.
void FormatDecimal(double value, int decimals, char* out, size_t capacity);

// Busy share of the processors in percent between two readings of the system times (the
// kernel time includes the idle time), held within 0 to 100.
double BusyPercent(uint64_t idleDelta, uint64_t kernelDelta, uint64_t userDelta);
