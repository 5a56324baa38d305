// A template held in memory, with drives the test chooses: the source that the template
// reader tests give to ReadMonitorFunctions in place of the file and the system.
#pragma once

#include <string>
#include <vector>

#include "template/template_reader.h"

struct MemoryDrive {
  char Letter;
  bool Fixed;
};

// Parses INI text ([section] lines and key=value lines; names compare without case) and
// returns the source over it. The drives and the system drive letter complete it.
TemplateSource MemoryTemplate(const std::string& iniText, char systemDrive = 'C',
                              const std::vector<MemoryDrive>& drives = {{'C', true}});

// How many values the reader asked for since MemoryTemplate.
int MemoryTemplateReads();
