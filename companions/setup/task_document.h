// The document that describes the agent's task to the Task Scheduler: every five minutes,
// as SYSTEM, hidden, never two passes at a time.
#pragma once

#include <stddef.h>

// Room for the document with two paths of MAX_PATH characters written as XML entities.
constexpr size_t kTaskDocumentSize = 8192;

// Composes the document for agentPath, started in workingFolder, first due now. False when
// it does not fit in capacity.
bool ComposeTaskDocument(char* out, size_t capacity, const char* agentPath,
                         const char* workingFolder);

// Writes the document to file as UTF-16 with a byte-order mark, the form the scheduler's
// own tools read (schtasks /create /xml); false when it could not be written.
bool WriteTaskDocument(const char* file, const char* taskXml);
