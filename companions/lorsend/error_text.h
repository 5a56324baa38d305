// The system's description of a transport error: WinHTTP's own message table for its 12xxx
// codes, a short table of our own where the system has none, the system messages otherwise.
#pragma once

#include <windows.h>

#include <string>

std::wstring ErrorDescription(DWORD code);
