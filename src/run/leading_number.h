// Readers of the leading number of a text, as profile values and replies are read:
// leading blanks skipped, an optional sign, the digits; whatever follows is ignored.
#pragma once

#include <stdint.h>

// The leading decimal integer; 0 when the text does not start with one. Values beyond
// the 32-bit range are held at its nearest bound.
int32_t ReadLeadingInt32(const char* text);

// The leading decimal number with an optional fraction and exponent (57.9, -3, 1e3);
// 0 when the text does not start with one. No hexadecimal, infinity or NaN forms.
double ReadLeadingDouble(const char* text);
