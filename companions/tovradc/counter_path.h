// Which counter a path names, for the counters the provider reads straight from the system;
// every other path goes to PDH. Free of system calls.
#pragma once

enum CounterKind {
  kPercentFreeSpace,    // \LogicalDisk(X:)\% Free Space
  kFreeMegabytes,       // \LogicalDisk(X:)\Free Megabytes
  kProcessorTime,       // \Processor(_Total)\% Processor Time
  kAvailableMegabytes,  // \Memory\Available MBytes
  kOtherCounter,        // anything else, for PDH
  kBadPath,             // empty, or not a counter path at all
};

// Names compare without regard to case; *drive receives the upper-case letter of a disk
// counter.
CounterKind ClassifyCounterPath(const wchar_t* path, char* drive);
