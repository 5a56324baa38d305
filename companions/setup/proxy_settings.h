// KorvMobile.ini beside the agent: the proxy settings that the web-post library reads for
// every post, written from the installer's properties and deleted when the agent goes.
#pragma once

#include <windows.h>

// Replaces file with section ProxySettings holding the four values. The file holds a
// password, so only SYSTEM (the agent's account) and the Administrators may open it.
// A value longer than 255 characters (more than the agent reads) or holding a line break is
// refused with ERROR_INVALID_PARAMETER. Returns ERROR_SUCCESS or the Win32 error.
DWORD WriteProxySettings(const char* file, const char* ip, const char* port, const char* userName,
                         const char* password);

// Deletes file; a file that does not exist counts as deleted.
DWORD RemoveProxySettings(const char* file);
