// The four-hour window of the documents for the server, over stamps of 32 bits.
// Free of system calls, so that the arithmetic can be tested at any moment, 2038 included.
#pragma once

#include <stdint.h>

constexpr int32_t kPostWindowSeconds = 14400;

// The stored form of a time: its low 32 bits as a signed number.
int32_t StampOf(int64_t now);

// True when now lies within the window around stored, both bounds included. The difference
// is taken in the stamp's own wrapped 32-bit arithmetic, so that a stamp written after the
// 32-bit count wrapped (January 2038) is still recognised.
bool IsWithinPostWindow(int32_t stored, int64_t now);
