// Reading the monitored functions out of a template, over any source of profile values and
// drives: the agent's source is the template file and the system; tests and fuzzers give
// their own. Free of system calls.
#pragma once

#include <string>
#include <vector>

struct TemplateSource {
  // A value of the template, at most 254 characters, into a 256-byte buffer; "" when missing.
  void (*ReadValue)(const char* section, const char* key, char* out);
  // The names of the template's sections.
  void (*ListSections)(std::vector<std::string>& names);
  // The letter of the drive holding the operating system.
  char (*SystemDriveLetter)();
  // One upper-case letter per logical drive, in alphabetical order.
  void (*ListDrives)(std::vector<char>& letters);
  // True when the drive of that letter is a fixed disk.
  bool (*IsFixedDrive)(char letter);
};

// Fills TemplateId, TemplateVersion and MonitorFunctions from the source, logging and
// reporting every faulty section. False when the pass must end (no identity, no version,
// no function); true otherwise, also with an empty list.
bool ReadMonitorFunctions(const TemplateSource& source);
