// Captures the agent's application log lines in memory: a stand-in for the circular logger
// that keeps each line's five texts, so tests can compare what a step logged.
#pragma once

#include <string>
#include <vector>

struct LoggedLine {
  std::string Module, Type, Val1, Val2, Val3;
  bool operator==(const LoggedLine& other) const {
    return Module == other.Module && Type == other.Type && Val1 == other.Val1 &&
           Val2 == other.Val2 && Val3 == other.Val3;
  }
};

// Points the agent's logger at the capture and empties it; the lines written from then on
// (the header excluded) are returned by reference.
std::vector<LoggedLine>& CaptureLog();

// Prints a line in failure messages.
void PrintTo(const LoggedLine& line, std::ostream* out);
