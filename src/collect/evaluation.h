// The measuring step of a pass: one provider query, then each record's value and verdict,
// with the verdicts kept per counter path in config.ini.
#pragma once

// 1 at the start of a pass; cleared when a stored verdict changes or is stored the first time.
extern int StateUnchanged;

// 1 when the provider answered and its results were evaluated; 0 when there was no answer.
int CollectAndEvaluate();

// Stores state (0 condition met, 1 not met, 2 not available) as key "Error" of section
// counterPath; 1 when it wrote it (changed or new), 0 when the same state was stored already.
int StoreFunctionState(int state, const char* counterPath);
