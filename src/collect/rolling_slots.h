// The twelve five-minute slots of a function's rolling average and their stored text
// ("%.02Lf," twelve times; -1 marks an empty slot). Free of system calls.
#pragma once

#include <stddef.h>
#include <stdint.h>

constexpr int kSlotCount = 12;

// Fills the slots from the stored text: one comma-separated item per slot from slot 0 on; an
// empty item or a missing one is -1, an item is read as its leading whole number, and an item
// of 12 or more characters ends the reading (it and the later slots stay -1). Items after the
// twelfth are not read.
void ParseSlotText(const char* text, float slots[kSlotCount]);

// A sample as a slot holds it: within -9,999,999 and 99,999,992, the widest numbers whose
// stored item ("%.02Lf") stays within the 11 characters a later reading accepts.
float SlotValue(int32_t sample);

// The stored text of the slots.
void FormatSlotText(const float slots[kSlotCount], char* out, size_t capacity);

// The mean of the slots that are not -1; the sample itself when every slot is -1.
double SlotAverage(const float slots[kSlotCount], int32_t sample);

// average + 0.5 cut toward zero: 57.5 gives 58, -1 gives 0, -3.7 gives -3.
double RoundAverage(double average);

// The slot of a minute of the hour: 0 for minutes 0-4 ... 11 for 55-59.
int SlotOfMinute(int minute);
