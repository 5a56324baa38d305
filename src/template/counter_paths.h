// The counter path of a function id, and its formatting with a drive letter.
// Free of system calls.
#pragma once

#include <stddef.h>

// The format of the id: ids 1 and 2 hold %c for the drive letter and %% for a percent sign;
// ids 3 and 4 are used unchanged. "" for any other id.
const char* CounterPathFormat(int functionId);

// Writes format with %c replaced by letter and %% by %. False when cut to fit.
bool FormatCounterPath(char* out, size_t capacity, const char* format, char letter);
