// QuintrelSetup.exe: the package's helper, run by the installer as deferred custom actions
// with SYSTEM's rights, acting on the agent installed in its own folder.
#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include "agent_task.h"
#include "proxy_settings.h"
#include "run/bounded_text.h"
#include "task_document.h"

namespace {

// The folder of this program with its trailing backslash: the installation folder.
bool LookupOwnFolder(char* folder, size_t capacity) {
  char program[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
  if (length == 0 || length >= sizeof program) return false;
  const char* lastBackslash = strrchr(program, '\\');
  if (lastBackslash == nullptr) return false;
  return CopyTextPrefix(folder, capacity, program,
                        static_cast<size_t>(lastBackslash + 1 - program));
}

bool InFolder(char* path, size_t capacity, const char* folder, const char* name) {
  return CopyText(path, capacity, folder) && AppendText(path, capacity, name);
}

bool ComposeAgentTask(char* taskXml, size_t capacity, const char* folder) {
  char agent[MAX_PATH];
  return InFolder(agent, sizeof agent, folder, "Quintrel.exe") &&
         ComposeTaskDocument(taskXml, capacity, agent, folder);
}

int Schedule(const char* folder) {
  char taskXml[kTaskDocumentSize];
  if (!ComposeAgentTask(taskXml, sizeof taskXml, folder)) return ERROR_BUFFER_OVERFLOW;
  return static_cast<int>(RegisterAgentTask(taskXml));
}

int ShowTask(const char* folder, const char* file) {
  char taskXml[kTaskDocumentSize];
  if (!ComposeAgentTask(taskXml, sizeof taskXml, folder)) return ERROR_BUFFER_OVERFLOW;
  return WriteTaskDocument(file, taskXml) ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

int WriteProxy(const char* folder, char** values) {
  char file[MAX_PATH];
  if (!InFolder(file, sizeof file, folder, "KorvMobile.ini")) return ERROR_BUFFER_OVERFLOW;
  return static_cast<int>(WriteProxySettings(file, values[0], values[1], values[2], values[3]));
}

int ForgetProxy(const char* folder) {
  char file[MAX_PATH];
  if (!InFolder(file, sizeof file, folder, "KorvMobile.ini")) return ERROR_BUFFER_OVERFLOW;
  return static_cast<int>(RemoveProxySettings(file));
}

}  // namespace

// Usage, one command per start:
//   /schedule                          register the task that starts Quintrel.exe
//   /unschedule                        delete that task
//   /task-xml FILE                     write the task's document to FILE, for review
//   /proxy IP PORT USERNAME PASSWORD   write KorvMobile.ini
//   /forget-proxy                      delete KorvMobile.ini
// Exit code 0 on success, otherwise the HRESULT or Win32 error, which the installer logs.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  char folder[MAX_PATH];
  if (!LookupOwnFolder(folder, sizeof folder)) return ERROR_BAD_PATHNAME;
  const int argc = __argc;
  char** argv = __argv;
  if (argc == 2 && strcmp(argv[1], "/schedule") == 0) return Schedule(folder);
  if (argc == 2 && strcmp(argv[1], "/unschedule") == 0) return static_cast<int>(DeleteAgentTask());
  if (argc == 3 && strcmp(argv[1], "/task-xml") == 0) return ShowTask(folder, argv[2]);
  if (argc == 6 && strcmp(argv[1], "/proxy") == 0) return WriteProxy(folder, argv + 2);
  if (argc == 2 && strcmp(argv[1], "/forget-proxy") == 0) return ForgetProxy(folder);
  return ERROR_BAD_ARGUMENTS;
}
