// The document of the agent's task in the Task Scheduler's XML schema: the account, the
// five-minute trigger, the settings and the program.
#include "task_document.h"

#include <windows.h>
#include <oleauto.h>

#include <stdio.h>

#include "report/document_text.h"
#include "run/bounded_text.h"
#include "task_text.h"

namespace {

// Placeholders: the first start, the program, its working folder.
// - The first pass is due at the moment of installation, so that the passes of a fleet are
//   spread over the five minutes instead of reaching the server all at once.
// - The repetition has no duration: it goes on as long as the task exists.
// - A pass ends within seconds, or within minutes when its posts wait for a server that
//   does not answer; one still running after 30 minutes is ended by the scheduler, because
//   a running pass keeps the later ones from starting (IgnoreNew).
// - A start missed while the machine was off is made up; notebooks are watched on battery.
const char kTaskXml[] =
    "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
    "<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
    "  <RegistrationInfo>\r\n"
    "    <Author>Quintrel</Author>\r\n"
    "    <Description>Starts a Quintrel monitoring pass every five minutes.</Description>\r\n"
    "  </RegistrationInfo>\r\n"
    "  <Triggers>\r\n"
    "    <TimeTrigger>\r\n"
    "      <StartBoundary>%s</StartBoundary>\r\n"
    "      <Repetition>\r\n"
    "        <Interval>PT5M</Interval>\r\n"
    "        <StopAtDurationEnd>false</StopAtDurationEnd>\r\n"
    "      </Repetition>\r\n"
    "    </TimeTrigger>\r\n"
    "  </Triggers>\r\n"
    "  <Principals>\r\n"
    "    <Principal id=\"LocalSystem\">\r\n"
    "      <UserId>S-1-5-18</UserId>\r\n"
    "      <RunLevel>HighestAvailable</RunLevel>\r\n"
    "    </Principal>\r\n"
    "  </Principals>\r\n"
    "  <Settings>\r\n"
    "    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>\r\n"
    "    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>\r\n"
    "    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>\r\n"
    "    <StartWhenAvailable>true</StartWhenAvailable>\r\n"
    "    <Hidden>true</Hidden>\r\n"
    "    <ExecutionTimeLimit>PT30M</ExecutionTimeLimit>\r\n"
    "  </Settings>\r\n"
    "  <Actions Context=\"LocalSystem\">\r\n"
    "    <Exec>\r\n"
    "      <Command>%s</Command>\r\n"
    "      <WorkingDirectory>%s</WorkingDirectory>\r\n"
    "    </Exec>\r\n"
    "  </Actions>\r\n"
    "</Task>\r\n";

void FormatStartBoundary(char* out, size_t capacity) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  FormatText(out, capacity, "%04d-%02d-%02dT%02d:%02d:%02d", now.wYear, now.wMonth, now.wDay,
             now.wHour, now.wMinute, now.wSecond);
}

}  // namespace

bool ComposeTaskDocument(char* out, size_t capacity, const char* agentPath,
                         const char* workingFolder) {
  char startBoundary[32];
  FormatStartBoundary(startBoundary, sizeof startBoundary);
  char command[6 * MAX_PATH];  // room for every character written as an entity
  char folder[6 * MAX_PATH];
  if (!XmlEscape(command, sizeof command, agentPath)) return false;
  if (!XmlEscape(folder, sizeof folder, workingFolder)) return false;
  return FormatText(out, capacity, kTaskXml, startBoundary, command, folder);
}

bool WriteTaskDocument(const char* file, const char* taskXml) {
  BSTR text = NewBstrFromAnsi(taskXml);
  if (text == nullptr) return false;
  FILE* out = fopen(file, "wb");
  bool written = false;
  if (out != nullptr) {
    const unsigned char byteOrderMark[] = {0xFF, 0xFE};  // UTF-16 little-endian
    const size_t units = SysStringLen(text);
    written = fwrite(byteOrderMark, 1, sizeof byteOrderMark, out) == sizeof byteOrderMark &&
              fwrite(text, sizeof(OLECHAR), units, out) == units;
    written = fclose(out) == 0 && written;
  }
  SysFreeString(text);
  return written;
}
