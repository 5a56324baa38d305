// The application log of the agent and the folder-creation helper the reporting parts share.
// Lines go to the circular logger library; nothing is written while it is not loaded.
#pragma once

// Writes one line: module, type ("Info", "Error" or "----"), three values.
void WriteAppLog(const char* module, const char* type, const char* val1, const char* val2,
                 const char* val3);

// Creates the folder and all its missing parents. The text is changed during the call and
// restored before it returns.
void CreateFolderPath(char* path);
