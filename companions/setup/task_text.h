// Texts handed to the Task Scheduler interfaces: the helper's ANSI texts as BSTRs.
// Paths come from the system in the ANSI code page, as the agent reads its own.
#pragma once

#include <windows.h>
#include <oleauto.h>

// A new BSTR holding text converted from the system ANSI code page, or nullptr.
BSTR NewBstrFromAnsi(const char* text);
