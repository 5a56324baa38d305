// The agent's task in the Task Scheduler: registered from its document and deleted again,
// through the Task Scheduler 2.0 COM interfaces.
#pragma once

#include <windows.h>

// The task's name in the root folder of the Task Scheduler library.
extern const wchar_t kAgentTaskName[];

// Registers the task from taskXml (see task_document.h) to run as SYSTEM, replacing an older
// one of the same name. Returns S_OK or the HRESULT of the step that failed.
HRESULT RegisterAgentTask(const char* taskXml);

// Deletes the task; a task that does not exist counts as deleted.
HRESULT DeleteAgentTask();
