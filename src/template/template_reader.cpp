// ReadMonitorFunctions: the "DCM" section, then one section per function in position order,
// expanding disk functions over the operating-system drive and the other drives. A faulty
// section is logged and reported, and the reading goes on with the next one.
#include "template/template_reader.h"

#include <stdint.h>
#include <string.h>

#include <algorithm>

#include "log/app_log.h"
#include "report/status_report.h"
#include "run/leading_number.h"
#include "template/counter_paths.h"
#include "template/monitor_function.h"

namespace {

// "OScondition" is read into a working buffer of 20 bytes.
constexpr size_t kLongestOsCondition = 19;
// A drive value needs room for its colon in Instance.
constexpr size_t kLongestDriveValue = kRecordTextSize - 2;
// There are 26 drive letters; listed drives beyond them are read only while they exist.
constexpr int kDriveLetters = 26;
// Gaps of missing sections up to this length are read section by section.
constexpr int64_t kLongestReadGap = 9;

struct Section {
  char Name[32];    // "DCM1", "DCM12"
  char Number[16];  // the text that names the section in messages: "1", "12"
  int FunctionId;
};

char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The log line of a missing key, and the report: reportStem followed by the function id.
void MissingKey(const Section& section, const char* key, const char* reportStem) {
  WriteAppLog("WM", "Error", section.Name, "Missing key", key);
  char message[kTextSize];
  FormatText(message, sizeof message, "%s%d", reportStem, static_cast<int>(section.FunctionId));
  ReportStatus(message);
}

void MissingListedKey(const Section& section, const char* key) {
  char stem[kTextSize];
  FormatText(stem, sizeof stem, "%s missing in funID = ", key);
  MissingKey(section, key, stem);
}

// The numbers n of the sections "DCM<n>" (decimal, no leading zero) in the template, sorted.
std::vector<int> FunctionSectionNumbers(const TemplateSource& source) {
  std::vector<std::string> names;
  source.ListSections(names);
  std::vector<int> numbers;
  for (const std::string& name : names) {
    if (name.size() < 4 || name.size() > 13 || Upper(name[0]) != 'D' || Upper(name[1]) != 'C' ||
        Upper(name[2]) != 'M' || name[3] == '0') {
      continue;
    }
    long long n = 0;
    bool digits = true;
    for (size_t i = 3; i < name.size() && digits; ++i) {
      digits = name[i] >= '0' && name[i] <= '9';
      n = n * 10 + (name[i] - '0');
    }
    if (digits && n <= 2147483647LL) numbers.push_back(static_cast<int>(n));
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

void ReadTotalFunction(const TemplateSource& source, const Section& section,
                       MonitorFunction& record) {
  char threshold[kTextSize], condition[kTextSize];
  source.ReadValue(section.Name, "OSthreshold", threshold);
  if (threshold[0] == '\0') {
    MissingKey(section, "OSthreshold", "OSthreshold missing in funID = ");
    return;
  }
  source.ReadValue(section.Name, "OScondition", condition);
  if (condition[0] == '\0' || strlen(condition) > kLongestOsCondition) {
    MissingKey(section, "OScondition", "OScondition missing in funID = ");
    return;
  }
  record.IsOsDrive = 0;
  CopyText(record.Condition, condition);
  CopyText(record.Instance, "_Total");
  record.Threshold = ReadLeadingInt32(threshold);
  CopyText(record.CounterPath, CounterPathFormat(record.FunctionId));
  MonitorFunctions.push_back(record);
}

void ReadOtherFixedDrives(const TemplateSource& source, const Section& section, char systemDrive,
                          MonitorFunction& record) {
  char condition[kTextSize], threshold[kTextSize];
  source.ReadValue(section.Name, "NOScondition", condition);
  if (condition[0] == '\0') {
    MissingKey(section, "NOScondition", "NOSCondition missing in funID = ");
    return;
  }
  CopyText(record.Condition, condition);
  source.ReadValue(section.Name, "NOSthreshold", threshold);
  record.Threshold = ReadLeadingInt32(threshold);
  record.IsOsDrive = 0;
  std::vector<char> drives;
  source.ListDrives(drives);
  for (char letter : drives) {
    if (letter == systemDrive || !source.IsFixedDrive(letter)) continue;
    const char instance[2] = {letter, '\0'};
    CopyText(record.Instance, instance);
    FormatCounterPath(record.CounterPath, sizeof record.CounterPath,
                      CounterPathFormat(record.FunctionId), letter);
    MonitorFunctions.push_back(record);
  }
}

void ReadListedDrives(const TemplateSource& source, const Section& section, int count,
                      char systemDrive, MonitorFunction& record) {
  for (int k = 1; k <= count; ++k) {
    char key[20], value[kTextSize];
    FormatText(key, sizeof key, "Drv%d", k);
    source.ReadValue(section.Name, key, value);
    if (value[0] == '\0' && k > kDriveLetters) {
      char text[kTextSize];
      FormatText(text, sizeof text, "%s missing: drives %d to %d not read", key, k, count);
      WriteAppLog("WM", "Error", section.Name, "NOSCount", text);
      return;
    }
    if (value[0] == '\0' || strlen(value) > kLongestDriveValue) {
      MissingListedKey(section, key);
      continue;
    }
    if (Upper(value[0]) == Upper(systemDrive)) continue;  // covered by its own record
    CopyText(record.Instance, value);
    AppendText(record.Instance, ":");

    FormatText(key, sizeof key, "Cond%d", k);
    source.ReadValue(section.Name, key, value);
    if (value[0] == '\0') {
      MissingListedKey(section, key);
      continue;
    }
    CopyText(record.Condition, value);

    FormatText(key, sizeof key, "Threshold%d", k);
    source.ReadValue(section.Name, key, value);
    if (value[0] == '\0') {
      MissingListedKey(section, key);
      continue;
    }
    record.Threshold = ReadLeadingInt32(value);
    record.IsOsDrive = 0;
    FormatCounterPath(record.CounterPath, sizeof record.CounterPath,
                      CounterPathFormat(record.FunctionId), record.Instance[0]);
    MonitorFunctions.push_back(record);
  }
}

void ReadDiskFunction(const TemplateSource& source, const Section& section, char systemDrive,
                      MonitorFunction& record) {
  char threshold[kTextSize], condition[kTextSize];
  source.ReadValue(section.Name, "OSthreshold", threshold);
  source.ReadValue(section.Name, "OScondition", condition);
  const bool hasThreshold = threshold[0] != '\0';
  const bool hasCondition = condition[0] != '\0' && strlen(condition) <= kLongestOsCondition;
  if (hasThreshold && hasCondition) {
    record.Threshold = ReadLeadingInt32(threshold);
    CopyText(record.Condition, condition);
    const char instance[2] = {systemDrive, '\0'};
    CopyText(record.Instance, instance);
    record.IsOsDrive = 1;
    FormatCounterPath(record.CounterPath, sizeof record.CounterPath,
                      CounterPathFormat(record.FunctionId), systemDrive);
    MonitorFunctions.push_back(record);
  } else if (hasThreshold || hasCondition) {
    MissingKey(section, "OSParameter", "OSParameter tampered in funID = ");
  }

  char countText[kTextSize];
  source.ReadValue(section.Name, "NOSCount", countText);
  const int32_t count = ReadLeadingInt32(countText);
  if (count == -1) {
    ReadOtherFixedDrives(source, section, systemDrive, record);
  } else if (count >= 1) {
    ReadListedDrives(source, section, count, systemDrive, record);
  }
}

void ReadFunctionSection(const TemplateSource& source, int position, char systemDrive) {
  Section section;
  FormatText(section.Number, sizeof section.Number, "%d", position);
  FormatText(section.Name, sizeof section.Name, "DCM%d", position);
  MonitorFunction record;
  char value[kTextSize];

  source.ReadValue(section.Name, "Id", value);
  section.FunctionId = ReadLeadingInt32(value);
  if (section.FunctionId == 0) {
    WriteAppLog("WM", "Error", section.Name, "Missing key", "ID");
    char message[kTextSize];
    FormatText(message, sizeof message, "Function ID missing in section  %s", section.Number);
    ReportStatus(message);
    return;
  }
  source.ReadValue(section.Name, "scriptid", value);
  const int32_t scriptId = ReadLeadingInt32(value);
  if (scriptId == 0) {
    WriteAppLog("WM", "Error", section.Name, "Missing key", "ScriptID");
    char message[kTextSize];
    FormatText(message, sizeof message, "Script ID missing of section = %s", section.Number);
    ReportStatus(message);
    return;
  }
  record.FunctionId = section.FunctionId;
  record.ScriptId = scriptId;
  if (record.FunctionId == 1 || record.FunctionId == 2) {
    ReadDiskFunction(source, section, systemDrive, record);
  } else {
    ReadTotalFunction(source, section, record);
  }
}

}  // namespace

bool ReadMonitorFunctions(const TemplateSource& source) {
  source.ReadValue("DCM", "Tid", TemplateId);
  source.ReadValue("DCM", "Tver", TemplateVersion);
  if (TemplateId[0] == '\0') {
    WriteAppLog("WM", "Error", "", "korvpath", "Template ID missing in desktop.ini");
    ReportStatus("Template ID missing in desktop.ini");
    return false;
  }
  if (TemplateVersion[0] == '\0') {
    WriteAppLog("WM", "Error", "", "korvpath", "Template Version missing in desktop.ini");
    ReportStatus("Template Version missing in desktop.ini");
    return false;
  }
  char countText[kTextSize];
  source.ReadValue("DCM", "Count", countText);
  const int32_t count = ReadLeadingInt32(countText);
  WriteAppLog("InitDLL", "Info", "Counter to monitor", "=", countText);
  if (count == 0) {
    WriteAppLog("WM", "Info", "", "", "No object to monitor");
    ReportStatus("No object to monitor");
    return false;
  }
  const char systemDrive = source.SystemDriveLetter();
  if (count < 0) return true;

  // Missing sections are read like any other, as long as they come in short gaps; of a long
  // gap (a damaged count, or a stray high section number) the first one is read and the rest
  // are told in one line, so that the work follows the template, not the numbers in it.
  const std::vector<int> present = FunctionSectionNumbers(source);
  auto next = present.begin();
  for (int64_t position = 1; position <= count;) {
    while (next != present.end() && *next < position)
      ++next;
    const int64_t nextPresent = next != present.end() ? *next : int64_t{count} + 1;
    const int64_t gap = std::min<int64_t>(nextPresent, int64_t{count} + 1) - position;
    if (gap == 0) {
      ReadFunctionSection(source, static_cast<int>(position++), systemDrive);
      continue;
    }
    const int64_t readAlone = gap <= kLongestReadGap ? gap : 1;
    for (int64_t k = 0; k < readAlone; ++k) {
      ReadFunctionSection(source, static_cast<int>(position++), systemDrive);
    }
    if (readAlone < gap) {
      char range[64];
      FormatText(range, sizeof range, "DCM%lld to DCM%lld", static_cast<long long>(position),
                 static_cast<long long>(position + gap - readAlone - 1));
      WriteAppLog("WM", "Error", range, "Missing key", "ID");
      position += gap - readAlone;
    }
  }
  return true;
}
