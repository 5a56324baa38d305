// LoadMonitorFunctions: the template file, read a section at a time, and the system's drives
// as the source of ReadMonitorFunctions.
#include "template/load_monitor_functions.h"

#include "run/agent_state.h"
#include "run/platform_calls.h"
#include "run/system_ops.h"
#include "template/monitor_function.h"
#include "template/profile_section.h"
#include "template/template_reader.h"

namespace {

void ReadTemplateValue(const char* section, const char* key, char* out) {
  ReadProfileSectionValue(TemplatePath, section, key, out);
}

void ListTemplateSections(std::vector<std::string>& names) {
  std::vector<char> buffer(64 * 1024);
  for (;;) {
    DWORD length = GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(buffer.size()),
                                                  TemplatePath);
    if (length < buffer.size() - 2 || buffer.size() >= 64 * 1024 * 1024) {
      buffer.resize(length + 2, '\0');
      break;
    }
    buffer.assign(buffer.size() * 4, '\0');
  }
  for (const char* name = buffer.data(); *name != '\0'; name += names.back().size() + 1) {
    names.push_back(name);
  }
}

char SystemDriveLetter() {
  char letter[2] = {};
  GetSystemDriveLetter(letter);
  return letter[0];
}

bool IsFixedDrive(char letter) {
  const char root[3] = {letter, ':', '\0'};
  return Platform.GetDriveTypeA(root) == DRIVE_FIXED;
}

void ListDrives(std::vector<char>& letters) {
  ListLogicalDrives(letters);
}

}  // namespace

bool LoadMonitorFunctions() {
  const TemplateSource source = {ReadTemplateValue, ListTemplateSections, SystemDriveLetter,
                                 ListDrives, IsFixedDrive};
  ForgetProfileSection();  // a template of an earlier call may have had the same path
  const bool loaded = ReadMonitorFunctions(source);
  ForgetProfileSection();
  return loaded;
}
