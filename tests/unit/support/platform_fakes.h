// Test seams over the agent's platform table: restore it after a test, fix the clock,
// record pauses and folder creations.
#pragma once

#include <string>
#include <vector>

#include "run/platform_calls.h"

// Puts back every entry of the platform table that a test changed.
class PlatformGuard {
 public:
  PlatformGuard() : saved_(Platform) {}
  ~PlatformGuard() { Platform = saved_; }
  PlatformGuard(const PlatformGuard&) = delete;
  PlatformGuard& operator=(const PlatformGuard&) = delete;

 private:
  PlatformCalls saved_;
};

SYSTEMTIME MakeTime(int year, int month, int day, int hour, int minute, int second);

// The local clock reads this moment until the platform table is restored.
void FixLocalTime(const SYSTEMTIME& moment);

// Pauses are recorded instead of waited for; the list is emptied by the call.
std::vector<DWORD>& RecordSleeps();

// Folder creations are recorded and then really made; the list is emptied by the call.
std::vector<std::string>& RecordCreatedFolders();
