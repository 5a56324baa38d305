// The web-post transport: hands one document to Lorsend.dll with the workstation's proxy
// settings and judges the reply. One call is one attempt.
#pragma once

#include <windows.h>
#include <oleauto.h>

// The export WebPostData of Lorsend.dll: seven texts by value, three replies by address.
typedef int(__stdcall* WebPostDataFn)(VARIANT url, VARIANT document, VARIANT mode, VARIANT proxyIp,
                                      VARIANT proxyPort, VARIANT proxyUserName,
                                      VARIANT proxyPassword, VARIANT* status, VARIANT* errorCode,
                                      VARIANT* errorDescription);

// Kind 0 posts an alert, any other kind a status report. True only when the library left a
// status reply without the marker "umaint='0'" and no error-code reply. Raises
// std::bad_alloc when a text cannot be converted; the callers catch it.
bool PostToServer(const char* document, int kind);

// The server host used when the registry value "ServerHost" is missing or empty.
extern const char kDefaultServerHost[];
