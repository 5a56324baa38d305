// Application log line format: date and 12-hour time, 24-hour digits and module, type, values.
// Also the header line and the folder and file names of the one log file of all passes.
#include "log_line.h"

#include "run/bounded_text.h"

const char kLogHeaderLine[] =
    "#Fields:\tdtime\tSession User Name\tmodule\ttype\tval1\tval2\tval3\n";
const char kLogHeaderMarker[] = "Header\r\n";

void ConvertLogType(const char* type, char* out, size_t capacity) {
  if (EqualNoCase(type, "Information")) {
    CopyText(out, capacity, "Info");
    return;
  }
  CopyText(out, capacity, type);
  for (char* p = out; *p != '\0'; ++p) {
    if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
  }
}

size_t ComposeLogLine(char* out, size_t capacity, const LogMoment& moment, const char* clockText,
                      const char* module, const char* type, const char* val1, const char* val2,
                      const char* val3) {
  if (capacity < 2) {
    if (capacity == 1) out[0] = '\0';
    return 0;
  }
  char typeText[kLogTypeSize];
  ConvertLogType(type, typeText, sizeof typeText);
  // Room for the line feed is kept back, so a cut line still ends with it.
  FormatText(out, capacity - 1, "%02d/%02d/%04d %s\t%02d%02d%02d %s\t%s\t%s\t%s\t%s", moment.Day,
             moment.Month, moment.Year, clockText, moment.Hour, moment.Minute, moment.Second,
             module, typeText, val1, val2, val3);
  AppendText(out, capacity, "\n");
  size_t length = 0;
  while (out[length] != '\0')
    ++length;
  return length;
}

bool ComposeLogFolder(char* out, size_t capacity, const char* installPath) {
  return FormatText(out, capacity, "%s\\ApplicationLog\\Quintrel", installPath);
}

bool ComposeLogFileName(char* out, size_t capacity, const char* logFolder) {
  return FormatText(out, capacity, "%s\\%s.Log", logFolder, "Quintrel");
}
