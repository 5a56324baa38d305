// The in-memory template source: a parsed INI text and a list of drives.
// Values longer than 254 characters are cut, as the profile functions cut them.
#include "support/memory_template.h"

#include <map>
#include <sstream>

#include "run/bounded_text.h"

namespace {

std::map<std::string, std::map<std::string, std::string>> sections;
std::vector<std::string> sectionNames;
std::vector<MemoryDrive> memoryDrives;
char memorySystemDrive;
int reads;

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

void ReadValue(const char* section, const char* key, char* out) {
  ++reads;
  std::string value;
  auto found = sections.find(Lower(section));
  if (found != sections.end()) {
    auto entry = found->second.find(Lower(key));
    if (entry != found->second.end()) value = entry->second.substr(0, 254);
  }
  CopyText(out, kTextSize, value.c_str());
}

void ListSections(std::vector<std::string>& names) {
  names = sectionNames;
}
char SystemDrive() {
  return memorySystemDrive;
}
void ListDrives(std::vector<char>& letters) {
  for (const MemoryDrive& drive : memoryDrives)
    letters.push_back(drive.Letter);
}
bool IsFixed(char letter) {
  for (const MemoryDrive& drive : memoryDrives) {
    if (drive.Letter == letter) return drive.Fixed;
  }
  return false;
}

}  // namespace

TemplateSource MemoryTemplate(const std::string& iniText, char systemDrive,
                              const std::vector<MemoryDrive>& drives) {
  sections.clear();
  sectionNames.clear();
  memoryDrives = drives;
  memorySystemDrive = systemDrive;
  reads = 0;
  std::istringstream lines(iniText);
  std::string line, current;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      current = line.substr(1, line.size() - 2);
      sectionNames.push_back(current);
      sections[Lower(current)];
    } else if (line.find('=') != std::string::npos) {
      sections[Lower(current)][Lower(line.substr(0, line.find('=')))] =
          line.substr(line.find('=') + 1);
    }
  }
  return {ReadValue, ListSections, SystemDrive, ListDrives, IsFixed};
}

int MemoryTemplateReads() {
  return reads;
}
