// The threshold test of one record: the operator states the alarm, so "met" means the record
// is in error. Free of system calls.
#pragma once

// 1 when value and threshold, both rounded to single precision, meet the operator (">", "<",
// ">=", "<=", "==", "!=", compared without regard to case); 0 for any other operator text.
int CheckCondition(const char* op, double value, double threshold);
