// Composition of application log lines and of the log's folder and file names.
// Free of system calls: the caller supplies the clock reading and the system-formatted time.
#pragma once

#include <stddef.h>

// A composed line holds at most 4,097 characters, its final line feed included.
constexpr size_t kLogLineSize = 4098;
// The log folder and the log file name hold at most 999 characters each.
constexpr size_t kLogPathSize = 1000;
// Type texts are converted in a working buffer of this size; longer ones are cut.
constexpr size_t kLogTypeSize = 32;

extern const char kLogHeaderLine[];    // the column header, handed over for a new file
extern const char kLogHeaderMarker[];  // tells the logger that the data is the header

struct LogMoment {
  int Year, Month, Day, Hour, Minute, Second;
};

// "Information" in any case becomes "Info"; any other text gets its letters a-z in upper case.
void ConvertLogType(const char* type, char* out, size_t capacity);

// The six TAB-separated fields and the line feed. clockText is the 12-hour time text of
// field 1. A line too long is cut and still ends with its line feed. Returns the length.
size_t ComposeLogLine(char* out, size_t capacity, const LogMoment& moment, const char* clockText,
                      const char* module, const char* type, const char* val1, const char* val2,
                      const char* val3);

// The log folder under the installation folder, and the log file inside it. False when a
// name does not fit its buffer of kLogPathSize.
bool ComposeLogFolder(char* out, size_t capacity, const char* installPath);
bool ComposeLogFileName(char* out, size_t capacity, const char* logFolder);
