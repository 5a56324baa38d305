// The in-memory logger behind CaptureLog: splits each handed-over line into its fields.
// The header hand-over is dropped; the log file itself is never written.
#include "support/log_capture.h"

#include <stdint.h>

#include <ostream>
#include <sstream>

#include "log/log_library.h"

namespace {
std::vector<LoggedLine> lines;

int __stdcall CapturingLogger(const char*, const char* data, int32_t length, const char* marker,
                              int32_t, int32_t*) {
  if (marker != nullptr) return 1;
  std::string line(data, static_cast<size_t>(length));
  if (!line.empty() && line.back() == '\n') line.pop_back();
  std::vector<std::string> fields;
  std::stringstream stream(line);
  std::string field;
  while (std::getline(stream, field, '\t'))
    fields.push_back(field);
  while (fields.size() < 6)
    fields.push_back("");
  std::string module = fields[1].substr(fields[1].find(' ') + 1);
  lines.push_back({module, fields[2], fields[3], fields[4], fields[5]});
  return 1;
}
}  // namespace

std::vector<LoggedLine>& CaptureLog() {
  lines.clear();
  LogDataToDisk = CapturingLogger;
  return lines;
}

void PrintTo(const LoggedLine& line, std::ostream* out) {
  *out << "{" << line.Module << " | " << line.Type << " | " << line.Val1 << " | "
       << line.Val2.substr(0, 120) << " | " << line.Val3 << "}";
}
